#include "ui/voice/VoiceCallSheet.h"

#include "agents/model/ChatBackend.h"
#include "agents/viewmodel/AgentListViewModel.h"

namespace halvex {

VoiceCallSheet::VoiceCallSheet(APIClient& api, Clock& clock, AgentListViewModel& sidebar, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_clock(clock),
      m_sidebar(sidebar),
      m_pageUrl(api.url(QStringLiteral("/_voice/call.html")))
{}

VoiceCallSheet::~VoiceCallSheet()
{
    if (m_model)
        m_model->setPage(nullptr);
}

bool VoiceCallSheet::isLive() const
{
    return m_model
        && (m_model->phase() == VoiceCallModel::Phase::connecting || m_model->phase() == VoiceCallModel::Phase::active);
}

QString VoiceCallSheet::modeText() const
{
    return m_model && m_model->mode() == u"speaking" ? QStringLiteral("Speaking") : QStringLiteral("Listening");
}

QString VoiceCallSheet::elapsedText() const { return voice::minutesSeconds(m_model ? m_model->elapsed() : 0); }

void VoiceCallSheet::openForSelected()
{
    const std::optional<ChatBackend> backend = m_sidebar.selectedBackend();
    if (backend && backend->isAgent())
        openFor(backend->id(), backend->agentValue()->name);
}

void VoiceCallSheet::openFor(const QString& agentId, const QString& agentName)
{
    // One call at a time: an open one stays until it is closed.
    if (m_model)
        return;
    m_agentName = agentName;
    m_model = std::make_unique<VoiceCallModel>(m_api, m_clock, agentId);
    m_model->setPage(this);
    connect(m_model.get(), &VoiceCallModel::changed, this, &VoiceCallSheet::changed);
    connect(m_model.get(), &VoiceCallModel::unauthorized, this, &VoiceCallSheet::unauthorized);
    Q_EMIT changed();
    QCoro::Task<void> opening = m_model->begin();
}

void VoiceCallSheet::hangup()
{
    if (m_model)
        m_model->hangup();
}

void VoiceCallSheet::close()
{
    if (!m_model)
        return;
    m_model->hangup();
    m_model->setPage(nullptr);
    m_model.release()->deleteLater();
    Q_EMIT changed();
}

void VoiceCallSheet::handleMessage(const QString& json)
{
    if (m_model)
        m_model->handleText(json);
}

bool VoiceCallSheet::allowsMicrophoneFor(const QUrl& origin) const
{
    const QUrl& service = m_api.origin();
    return origin.scheme() == service.scheme() && origin.host() == service.host()
        && origin.port(origin.scheme() == u"https" ? 443 : 80) == service.port(service.scheme() == u"https" ? 443 : 80);
}

} // namespace halvex
