#include "governance/viewmodel/GuardrailsSettingsModel.h"

#include "core/async/Failure.h"

namespace halvex {

GuardrailsSettingsModel::GuardrailsSettingsModel(APIClient& api, QObject* parent)
    : QObject(parent),
      m_agents(api),
      m_governance(api)
{}

std::optional<QString> GuardrailsSettingsModel::failureText(const std::exception_ptr& error)
{
    return Failure::shown(error, [this] { Q_EMIT unauthorized(); });
}

void GuardrailsSettingsModel::setTools(const JSONArray& tools)
{
    m_rawTools = tools;
    m_toolIds.clear();
    for (const JSONValue& item : tools)
        if (const QString id = toolIdOf(item); !id.isEmpty())
            m_toolIds << id;
}

QCoro::Task<void> GuardrailsSettingsModel::load(QString agentId)
{
    const CancelToken token = m_load.next();
    m_change.cancel();
    m_busyPermission.reset();
    m_busyKill = m_savingMandate = false;
    m_agentId = agentId;
    m_message.clear();
    m_error.reset();
    m_loading = true;
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        const JSONObject detail = co_await m_agents.rawDetail(agentId, token);
        if (token.isCancelled())
            co_return;
        const std::optional<AgentMandate> stored = co_await m_governance.mandate(agentId, token);
        if (token.isCancelled())
            co_return;
        m_rawTools = detail.value(QStringLiteral("tools")).toArray();
        m_toolIds = toolIdsOf(detail);
        const QString status = detail.value(QStringLiteral("status")).stringValue().value_or(QStringLiteral("active"));
        m_paused = status != u"active";
        m_mandate = stored;
        draft = stored.value_or(AgentMandate::defaultFor(m_toolIds));
        quoteText = halvex::quoteText(draft.maxStandardQuoteUsd);
        m_loadedAgentId = agentId;
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed)
        m_error = failureText(failed);
    m_loading = false;
    Q_EMIT changed();
}

QCoro::Task<void> GuardrailsSettingsModel::toggle(PermissionGroup group)
{
    if (m_agentId.isEmpty() || m_busyPermission)
        co_return;
    const CancelToken token = m_change.next();
    const bool wasOn = isOn(group);
    m_busyPermission = group.id;
    m_message.clear();
    m_error.reset();
    Q_EMIT changed();
    const JSONArray tools = group.toggled(m_rawTools, wasOn);
    std::exception_ptr failed;
    try {
        const JSONObject body{{QStringLiteral("tools"), tools}};
        co_await m_agents.patch(m_agentId, body, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (!failed) {
        setTools(tools);
        m_message
            = QStringLiteral("“") + group.label + (wasOn ? QStringLiteral("” revoked.") : QStringLiteral("” granted."));
    } else if (const auto text = failureText(failed)) {
        m_error = (wasOn ? QStringLiteral("Could not revoke “") : QStringLiteral("Could not grant “")) + group.label
            + QStringLiteral("” — ") + *text;
    }
    m_busyPermission.reset();
    Q_EMIT changed();
}

QCoro::Task<void> GuardrailsSettingsModel::toggleKillSwitch()
{
    if (m_agentId.isEmpty() || m_busyKill)
        co_return;
    const CancelToken token = m_change.next();
    const bool resume = m_paused;
    m_busyKill = true;
    m_message.clear();
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        const JSONObject body{{QStringLiteral("status"), resume ? QStringLiteral("active") : QStringLiteral("draft")}};
        co_await m_agents.patch(m_agentId, body, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (!failed) {
        m_paused = !resume;
        m_message
            = resume ? QStringLiteral("Employee resumed.") : QStringLiteral("Employee frozen — no new work starts.");
    } else if (const auto text = failureText(failed)) {
        m_error = (resume ? QStringLiteral("Could not resume — ") : QStringLiteral("Could not freeze — ")) + *text;
    }
    m_busyKill = false;
    Q_EMIT changed();
}

void GuardrailsSettingsModel::toggleChannel(const QString& channel)
{
    draft.toggleChannel(channel);
    m_message.clear();
    Q_EMIT changed();
}

QCoro::Task<void> GuardrailsSettingsModel::saveMandate(bool clear)
{
    if (m_agentId.isEmpty() || m_savingMandate)
        co_return;
    const CancelToken token = m_change.next();
    m_savingMandate = true;
    m_message.clear();
    m_error.reset();
    std::optional<AgentMandate> sent;
    if (!clear) {
        draft.maxStandardQuoteUsd = quoteFromText(quoteText);
        sent = draft;
    }
    Q_EMIT changed();
    std::exception_ptr failed;
    std::optional<AgentMandate> stored;
    try {
        stored = co_await m_governance.saveMandate(m_agentId, sent, token);
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (!failed) {
        m_mandate = stored;
        m_message = clear ? QStringLiteral("Mandate cleared — no limits enforced.") : QStringLiteral("Mandate saved.");
    } else {
        m_error = failureText(failed);
    }
    m_savingMandate = false;
    Q_EMIT changed();
}

} // namespace halvex
