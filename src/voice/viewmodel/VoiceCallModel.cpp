#include "voice/viewmodel/VoiceCallModel.h"

#include "core/async/Failure.h"

namespace halvex {

namespace {

constexpr qint64 kTickMs = 1000;

std::optional<QString> textOf(const JSONObject& message, const QString& key)
{
    const auto it = message.constFind(key);
    return it == message.constEnd() ? std::nullopt : it->stringValue();
}

} // namespace

VoiceCallModel::VoiceCallModel(APIClient& api, Clock& clock, QString agentId, QObject* parent)
    : QObject(parent),
      m_service(api),
      m_clock(clock),
      m_agentId(std::move(agentId))
{}

VoiceCallModel::~VoiceCallModel()
{
    m_scope.cancelAll();
    // A call left open when its screen goes is ended on the service all the same.
    if (!m_endRequested && m_callId) {
        QCoro::Task<void> ending = m_service.end(*m_callId);
    }
}

QString VoiceCallModel::phaseName() const
{
    switch (m_phase) {
    case Phase::connecting:
        return QStringLiteral("connecting");
    case Phase::active:
        return QStringLiteral("active");
    case Phase::ended:
        return QStringLiteral("ended");
    case Phase::failed:
        return QStringLiteral("failed");
    }
    return {};
}

QCoro::Task<void> VoiceCallModel::begin()
{
    const CancelToken token = m_scope.token();
    m_phase = Phase::connecting;
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        const QString agentId = m_agentId;
        VoiceService::Started started = co_await m_service.startSession(agentId, token);
        if (token.isCancelled())
            co_return;
        m_callId = started.callId;
        m_maxSecs = started.maxSecs;
        m_startRaw = std::move(started.raw);
        Q_EMIT changed();
    } catch (...) {
        failed = std::current_exception();
    }
    if (failed) {
        const std::optional<QString> shown = Failure::shown(failed, [this] { Q_EMIT unauthorized(); });
        if (isCancellation(failed))
            co_return;
        fail(shown && !shown->isEmpty() ? *shown : QStringLiteral("Could not start the call"));
        co_return;
    }
    if (m_endRequested) {
        // Hung up while the call was being opened: it ends as soon as it exists.
        QCoro::Task<void> ending = m_service.end(*m_callId);
        co_return;
    }
    startPage();
}

void VoiceCallModel::startPage()
{
    if (!m_pageReady || !m_startRaw || m_pageStarted || m_endRequested || m_phase == Phase::failed)
        return;
    m_pageStarted = true;
    if (m_page)
        m_page->startCall(*m_startRaw);
}

void VoiceCallModel::handleText(const QString& json)
{
    JSONValue message;
    try {
        message = JSONValue::parse(json.toUtf8());
    } catch (const APIError&) {
        return; // not JSON: not a message of the page
    }
    if (message.isObject())
        handle(message.toObject());
}

void VoiceCallModel::handle(const JSONObject& message)
{
    const QString type = textOf(message, QStringLiteral("type")).value_or(QString());
    if (type == u"ready") {
        m_pageReady = true;
        startPage();
    } else if (type == u"active") {
        if (m_phase != Phase::connecting || m_endRequested)
            return;
        m_phase = Phase::active;
        m_startedAt = m_clock.now();
        m_elapsed = 0;
        m_timer = m_clock.schedule(kTickMs, [this] { tick(); });
        Q_EMIT changed();
    } else if (type == u"mode") {
        m_mode = textOf(message, QStringLiteral("mode")).value_or(QStringLiteral("listening"));
        Q_EMIT changed();
    } else if (type == u"status") {
        m_lastStatus = textOf(message, QStringLiteral("status"));
        Q_EMIT changed();
    } else if (type == u"error") {
        fail(textOf(message, QStringLiteral("message")).value_or(QStringLiteral("Voice error")));
        hangup();
    } else if (type == u"disconnect" || type == u"ended") {
        hangup();
    }
}

void VoiceCallModel::fail(QString message)
{
    m_error = std::move(message);
    m_phase = Phase::failed;
    stopTimer();
    Q_EMIT changed();
}

void VoiceCallModel::tick()
{
    m_timer.reset();
    if (!m_startedAt)
        return;
    m_elapsed = int(m_startedAt->secsTo(m_clock.now()));
    Q_EMIT changed();
    if (m_maxSecs > 0 && m_elapsed >= m_maxSecs) {
        hangup();
        return;
    }
    m_timer = m_clock.schedule(kTickMs, [this] { tick(); });
}

void VoiceCallModel::hangup()
{
    if (m_endRequested)
        return;
    m_endRequested = true;
    stopTimer();
    if (m_page)
        m_page->endCall();
    if (m_phase != Phase::failed)
        m_phase = Phase::ended;
    Q_EMIT changed();
    // Without an id the call is still being opened; begin() ends it once it exists.
    if (m_callId) {
        QCoro::Task<void> ending = m_service.end(*m_callId);
    }
}

} // namespace halvex
