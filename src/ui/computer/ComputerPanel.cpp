#include "ui/computer/ComputerPanel.h"

#include "agents/model/ChatBackend.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "computer/model/BrowserServiceCatalog.h"
#include "core/prefs/AppNotifications.h"
#include "core/prefs/Preferences.h"

#include <QVariantMap>

namespace halvex {

namespace {

QString stateText(BrowserConnectionState state)
{
    switch (state) {
    case BrowserConnectionState::connected:
        return QStringLiteral("Signed in");
    case BrowserConnectionState::pending:
        return QStringLiteral("Signing in…");
    case BrowserConnectionState::disconnected:
        break;
    }
    return QStringLiteral("Not signed in");
}

bool isWebAddress(const QUrl& url)
{
    return url.isValid() && (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"));
}

} // namespace

ComputerPanel::ComputerPanel(APIClient& api, Clock& clock, Preferences& preferences, AgentListViewModel& sidebar,
                             AppNotifications& notifications, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_clock(clock),
      m_preferences(preferences),
      m_sidebar(sidebar),
      m_notifications(notifications)
{
    connect(&m_sidebar, &AgentListViewModel::selectionChanged, this, &ComputerPanel::follow);
    follow();
}

ComputerPanel::~ComputerPanel()
{
    if (m_chat)
        m_chat->onBrowserActivity = nullptr;
    if (m_model)
        m_model->stop();
}

void ComputerPanel::follow()
{
    const std::optional<ChatBackend> backend = m_sidebar.selectedBackend();
    const bool agent = backend && backend->isAgent();
    if (m_model && agent && m_model->agentId() == backend->id())
        return;
    if (m_model) {
        m_model->stop();
        m_model.release()->deleteLater();
    }
    // Another chat: its own computer, and the panel waits for a reason to open.
    m_panelOpen = false;
    m_browserOpen = false;
    m_address.clear();
    m_signingIn.clear();
    if (agent) {
        m_model = std::make_unique<AgentLiveBrowserModel>(m_api, m_clock, backend->id(), backend->agentValue()->name);
        m_model->isTurnActive = [this] { return m_chat && m_chat->isThinking(); };
        connect(m_model.get(), &AgentLiveBrowserModel::currentChanged, this, &ComputerPanel::onCurrentChanged);
        connect(m_model.get(), &AgentLiveBrowserModel::stateChanged, this, &ComputerPanel::changed);
        connect(m_model.get(), &AgentLiveBrowserModel::busyChanged, this, &ComputerPanel::changed);
        connect(m_model.get(), &AgentLiveBrowserModel::unauthorized, this, &ComputerPanel::unauthorized);
        m_model->kick();
    }
    Q_EMIT changed();
}

void ComputerPanel::followChat(ChatViewModel* chat)
{
    if (m_chat == chat)
        return;
    if (m_chat)
        m_chat->onBrowserActivity = nullptr;
    m_chat = chat;
    if (!chat)
        return;
    chat->onBrowserActivity = [this] { kick(); };
    follow();
    kick();
}

void ComputerPanel::kick()
{
    if (m_model)
        m_model->kick();
}

void ComputerPanel::onCurrentChanged()
{
    if (m_model && m_model->current()) {
        // A session to watch: the panel shows it.
        m_panelOpen = true;
        m_address.clear();
    } else {
        m_signingIn.clear();
    }
    Q_EMIT changed();
}

QString ComputerPanel::viewUrl() const
{
    if (!m_address.isEmpty())
        return m_address;
    if (m_model && m_model->current())
        return m_model->current()->url;
    return QString();
}

QString ComputerPanel::sessionTitle() const
{
    QString name = agentName();
    if (m_model && m_model->current() && m_model->current()->agentName && !m_model->current()->agentName->isEmpty())
        name = *m_model->current()->agentName;
    if (name.isEmpty())
        return QStringLiteral("Computer");
    return name + QStringLiteral("'s computer");
}

QString ComputerPanel::expiryText() const
{
    if (!m_model || !m_model->current() || !m_model->current()->expiresAt)
        return QString();
    const QDateTime at = QDateTime::fromString(*m_model->current()->expiresAt, Qt::ISODateWithMs);
    if (!at.isValid())
        return QString();
    return QStringLiteral("Live until ") + at.toLocalTime().toString(QStringLiteral("HH:mm"));
}

QString ComputerPanel::status() const
{
    if (!m_model || !m_model->state())
        return QString();
    return m_model->state()->status;
}

double ComputerPanel::panelWidth() const
{
    return qBound(minPanelWidth, m_preferences.browserPanelWidth(), maxPanelWidth);
}

void ComputerPanel::setPanelWidth(double width)
{
    const double bounded = qBound(minPanelWidth, width, maxPanelWidth);
    if (qFuzzyCompare(bounded, m_preferences.browserPanelWidth()))
        return;
    m_preferences.setBrowserPanelWidth(bounded);
    Q_EMIT panelWidthChanged();
}

QVariantList ComputerPanel::services() const
{
    QList<BrowserHandoffSite> handoffs;
    if (m_model && m_model->state())
        handoffs = m_model->state()->handoffSites;
    const QString pending = hasSession() ? m_signingIn : QString();
    QVariantList out;
    for (const BrowserService& s : BrowserServiceCatalog::all()) {
        const BrowserConnectionState state = BrowserServiceCatalog::state(s, handoffs, {}, pending);
        out.append(QVariantMap{{QStringLiteral("id"), s.id},
                               {QStringLiteral("label"), s.label},
                               {QStringLiteral("icon"), s.icon},
                               {QStringLiteral("host"), s.host},
                               {QStringLiteral("startUrl"), s.startURL},
                               {QStringLiteral("state"), connectionStateName(state)},
                               {QStringLiteral("stateText"), stateText(state)}});
    }
    return out;
}

QVariantList ComputerPanel::providers() const
{
    QVariantList out;
    if (!m_model || !m_model->state())
        return out;
    const ComputerState& state = *m_model->state();
    for (const ComputerProvider& p : state.providers)
        out.append(QVariantMap{{QStringLiteral("id"), p.id},
                               {QStringLiteral("label"), p.label},
                               {QStringLiteral("configured"), p.configured},
                               {QStringLiteral("chosen"), p.id == state.provider}});
    return out;
}

void ComputerPanel::showAddress(const QUrl& url)
{
    if (url.isEmpty()) {
        openPanel();
        return;
    }
    if (!isWebAddress(url))
        return;
    m_address = url.toString();
    m_panelOpen = true;
    Q_EMIT changed();
}

void ComputerPanel::toggle()
{
    if (m_panelOpen)
        closePanel();
    else if (m_model)
        m_notifications.post(Notification::halvOpenBrowser, QUrl());
}

void ComputerPanel::openPanel()
{
    if (!m_model)
        return;
    // Asked for by the user: sessions closed before may show again.
    m_model->forgetEnded();
    m_panelOpen = true;
    Q_EMIT changed();
    m_model->kick();
}

void ComputerPanel::closePanel()
{
    if (!m_panelOpen)
        return;
    m_panelOpen = false;
    m_address.clear();
    if (m_model)
        m_model->dismissCurrent();
    Q_EMIT changed();
}

void ComputerPanel::openComputer(const QString& startUrl)
{
    if (!m_model)
        return;
    const QString address = startUrl.trimmed();
    m_address.clear();
    m_panelOpen = true;
    Q_EMIT changed();
    m_model->open(address);
}

void ComputerPanel::showBrowser()
{
    if (!m_model)
        return;
    m_browserOpen = true;
    Q_EMIT changed();
    m_model->kick();
}

void ComputerPanel::closeBrowser()
{
    if (!m_browserOpen)
        return;
    m_browserOpen = false;
    Q_EMIT changed();
}

void ComputerPanel::signInTo(const QString& serviceId)
{
    const std::optional<BrowserService> service = BrowserServiceCatalog::find(serviceId);
    if (!service || !m_model)
        return;
    m_signingIn = service->id;
    m_browserOpen = false;
    openComputer(service->startURL);
}

void ComputerPanel::chooseProvider(const QString& providerId)
{
    if (m_model)
        m_model->chooseProvider(providerId);
}

} // namespace halvex
