#include "chat/viewmodel/SoloLoopToolModel.h"

#include "core/async/Failure.h"

namespace halvex {

namespace {

// The detail answer sometimes wraps the agent under "agent".
JSONObject capabilitiesOf(const JSONObject& detail)
{
    const JSONValue inner = detail.value(QStringLiteral("agent"));
    const JSONObject& agent = inner.isObject() ? inner.toObject() : detail;
    return agent.value(QStringLiteral("capabilities")).toObject();
}

JSONObject capabilitiesBody(const JSONObject& capabilities)
{
    return {{QStringLiteral("capabilities"), JSONValue(capabilities)}};
}

} // namespace

SoloLoopToolModel::SoloLoopToolModel(QString agentId, AgentService service, QObject* parent)
    : QObject(parent),
      m_agentId(std::move(agentId)),
      m_service(service)
{}

SoloLoopToolModel::SoloLoopToolModel(QString agentId, QObject* parent)
    : SoloLoopToolModel(std::move(agentId), AgentService(), parent)
{}

SoloLoopToolModel::~SoloLoopToolModel() { m_scope.cancelAll(); }

void SoloLoopToolModel::stop()
{
    m_scope.cancelAll();
    m_loading = m_busy = false;
}

void SoloLoopToolModel::fail(const std::exception_ptr& error)
{
    const Failure failure = Failure::of(error);
    if (failure.route == Failure::Route::lostSession)
        Q_EMIT unauthorized();
    else if (failure.route == Failure::Route::show)
        m_error = failure.text;
}

QCoro::Task<void> SoloLoopToolModel::loadIfNeeded()
{
    if (m_loaded || m_loading)
        co_return;
    const CancelToken token = m_scope.token();
    m_loading = true;
    std::exception_ptr failure;
    try {
        const JSONObject detail = co_await m_service.rawDetail(m_agentId, token);
        if (token.isCancelled())
            co_return;
        m_rawCapabilities = capabilitiesOf(detail);
        m_config = LoopToolConfig::fromCapabilities(m_rawCapabilities);
        m_loaded = true;
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    m_loading = false;
    if (failure)
        fail(failure);
    Q_EMIT changed();
}

QCoro::Task<void> SoloLoopToolModel::save(LoopToolConfig config)
{
    const CancelToken token = m_scope.token();
    const LoopToolConfig previous = m_config;
    m_config = config;
    m_busy = true;
    m_notice.reset();
    m_error.reset();
    Q_EMIT changed();
    const JSONObject capabilities = config.writtenInto(m_rawCapabilities);
    std::exception_ptr failure;
    try {
        JSONObject body = capabilitiesBody(capabilities);
        co_await m_service.patch(m_agentId, std::move(body), token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failure) {
        m_config = previous;
        fail(failure);
    } else {
        m_rawCapabilities = capabilities;
        m_notice = config.enabled ? QStringLiteral("Loop settings saved ✓") : QStringLiteral("Loop mode off ✓");
    }
    m_busy = false;
    Q_EMIT changed();
}

} // namespace halvex
