#include "agents/viewmodel/IdentitySettingsModel.h"

#include "agents/model/VoiceChoice.h"
#include "core/async/Failure.h"
#include "core/net/APIClient.h"

namespace halvex {

namespace {

// The profile answer is either the profile itself or wraps it under "profile".
JSONObject profileFields(const QByteArray& body)
{
    const JSONValue root = JSONValue::parse(body);
    if (const auto inner = root["profile"]; inner && inner->isObject())
        return inner->toObject();
    return root.toObject();
}

JSONObject agentBody(const QString& name, const QString& language)
{
    return {{QStringLiteral("name"), name},
            {QStringLiteral("response_language"), language.isEmpty() ? JSONValue() : JSONValue(language)}};
}

JSONObject voiceBody(const QString& choice)
{
    return {{QStringLiteral("voice_id"), voice::voiceIdFor(choice)}, {QStringLiteral("openai_voice"), JSONValue()}};
}

JSONObject profileBody(const QString& company, const QString& website)
{
    return {{QStringLiteral("company_name"), company}, {QStringLiteral("website"), website}};
}

} // namespace

IdentitySettingsModel::IdentitySettingsModel(APIClient& api, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_service(api)
{}

IdentitySettingsModel::IdentitySettingsModel() : IdentitySettingsModel(APIClient::shared()) {}

IdentitySettingsModel::~IdentitySettingsModel() { m_scope.cancelAll(); }

void IdentitySettingsModel::stop()
{
    m_load.cancel();
    m_scope.cancelAll();
    m_isLoading = m_savingAgent = m_savingProfile = false;
    Q_EMIT changed();
}

void IdentitySettingsModel::setName(const QString& v)
{
    m_name = v;
    Q_EMIT changed();
}
void IdentitySettingsModel::setResponseLanguage(const QString& v)
{
    m_responseLanguage = v;
    Q_EMIT changed();
}
void IdentitySettingsModel::setCustomVoiceId(const QString& v)
{
    m_customVoiceId = v;
    Q_EMIT changed();
}
void IdentitySettingsModel::setCompany(const QString& v)
{
    m_company = v;
    Q_EMIT changed();
}
void IdentitySettingsModel::setWebsite(const QString& v)
{
    m_website = v;
    Q_EMIT changed();
}

void IdentitySettingsModel::fail(const std::exception_ptr& error)
{
    const Failure failure = Failure::of(error);
    switch (failure.route) {
    case Failure::Route::silent:
        return;
    case Failure::Route::lostSession:
        Q_EMIT unauthorized();
        return;
    case Failure::Route::show:
        m_error = failure.text;
        return;
    }
}

QCoro::Task<void> IdentitySettingsModel::load(Agent agent)
{
    const CancelToken token = m_load.next();
    // Nothing of the employee shown before may stay in the fields: a failed load would
    // otherwise let Save write its values onto this one.
    m_agentId = agent.id;
    m_loadedAgentId.reset();
    m_name.clear();
    m_responseLanguage.clear();
    m_voiceChoice = QStringLiteral("female");
    m_customVoiceId.clear();
    m_status.clear();
    m_isLoading = true;
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failure;
    try {
        const Agent detail = co_await m_service.detail(agent.id, token);
        if (token.isCancelled())
            co_return;
        m_name = detail.name;
        m_responseLanguage = detail.responseLanguage.value_or(QString());
        const voice::Choice choice = voice::choiceFor(detail.voiceId.value_or(QString()), detail.name);
        m_voiceChoice = choice.choice;
        m_customVoiceId = choice.customVoiceId;
        m_loadedAgentId = detail.id;
        Q_EMIT changed();
        co_await loadProfile(token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failure)
        fail(failure);
    m_isLoading = false;
    Q_EMIT changed();
}

QCoro::Task<void> IdentitySettingsModel::loadProfile(CancelToken token)
{
    auto request = m_api.makeRequest("GET", profilePath());
    const QByteArray body = co_await m_api.send(std::move(request), token);
    if (token.isCancelled())
        co_return;
    const JSONObject fields = profileFields(body);
    m_company = fields.value(QStringLiteral("company_name")).toString();
    m_website = fields.value(QStringLiteral("website")).toString();
}

bool IdentitySettingsModel::isLoaded() const { return m_agentId && m_loadedAgentId == m_agentId; }

QCoro::Task<void> IdentitySettingsModel::saveAgent()
{
    if (!isLoaded())
        co_return;
    const QString name = m_name.trimmed();
    if (name.isEmpty()) {
        m_error = QStringLiteral("Name cannot be empty");
        Q_EMIT changed();
        co_return;
    }
    const CancelToken token = m_scope.token();
    m_status.clear();
    m_error.reset();
    m_savingAgent = true;
    Q_EMIT changed();
    std::exception_ptr failure;
    try {
        JSONObject body = agentBody(name, m_responseLanguage);
        co_await m_service.patch(*m_agentId, std::move(body), token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failure) {
        fail(failure);
    } else {
        m_status = QStringLiteral("Saved");
        Q_EMIT agentSaved();
    }
    m_savingAgent = false;
    Q_EMIT changed();
}

QCoro::Task<void> IdentitySettingsModel::selectVoice(QString choice)
{
    if (choice == m_voiceChoice || !isLoaded())
        co_return;
    const CancelToken token = m_scope.token();
    const QString previous = m_voiceChoice;
    m_voiceChoice = choice;
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failure;
    try {
        JSONObject body = voiceBody(choice);
        co_await m_service.patch(*m_agentId, std::move(body), token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failure) {
        m_voiceChoice = previous;
        fail(failure);
    } else {
        m_status = (choice == voice::female ? QStringLiteral("Female") : QStringLiteral("Male"))
            + QStringLiteral(" voice will be used on every call.");
    }
    Q_EMIT changed();
}

QCoro::Task<void> IdentitySettingsModel::saveProfile()
{
    const CancelToken token = m_scope.token();
    m_status.clear();
    m_error.reset();
    m_savingProfile = true;
    Q_EMIT changed();
    std::exception_ptr failure;
    try {
        const QString path = profilePath();
        JSONObject body = profileBody(m_company.trimmed(), m_website.trimmed());
        co_await m_api.patchJSONRaw(path, std::move(body), token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failure)
        fail(failure);
    else
        m_status = QStringLiteral("Saved");
    m_savingProfile = false;
    Q_EMIT changed();
}

} // namespace halvex
