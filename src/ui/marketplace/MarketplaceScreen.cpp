#include "ui/marketplace/MarketplaceScreen.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "core/prefs/AppNotifications.h"

namespace halvex {

namespace {

QVariantMap card(const MarketplaceWorker& w)
{
    return {{QStringLiteral("id"), w.id},
            {QStringLiteral("name"), w.name},
            {QStringLiteral("pitch"), w.shortPitch},
            {QStringLiteral("specialty"), w.specialtyLabel},
            {QStringLiteral("service"), w.service},
            {QStringLiteral("runs"), w.runsCountLabel},
            {QStringLiteral("tasks"), w.showcaseTasks},
            {QStringLiteral("tools"), w.showcaseTools},
            {QStringLiteral("rating"), w.ratingAvg ? QString::number(*w.ratingAvg, 'f', 1) : QString()},
            {QStringLiteral("creator"), w.creatorFullName.value_or(QString())},
            {QStringLiteral("description"), w.description.value_or(QString())}};
}

} // namespace

MarketplaceScreen::MarketplaceScreen(APIClient& api, AgentListViewModel& sidebar, AppNotifications& notifications,
                                     QObject* parent)
    : QObject(parent),
      m_api(api),
      m_sidebar(sidebar),
      m_notifications(notifications),
      m_model(api)
{
    connect(&m_model, &MarketplaceViewModel::changed, this, &MarketplaceScreen::changed);
    connect(&m_sidebar, &AgentListViewModel::changed, this, [this] {
        // Closed from elsewhere (another screen opened): the hire in progress goes with it.
        if (!isOpen() && m_hire)
            closeHire();
        // Opened from the sidebar or a shortcut: the first showing loads the list.
        if (isOpen() && !m_loadedOnce) {
            m_loadedOnce = true;
            m_model.load();
        }
        Q_EMIT changed();
    });
}

MarketplaceScreen::~MarketplaceScreen() { m_model.stop(); }

bool MarketplaceScreen::isOpen() const { return m_sidebar.showingMarketplace(); }

QVariantList MarketplaceScreen::workers() const
{
    QVariantList out;
    for (const MarketplaceWorker& w : m_model.filtered())
        out << card(w);
    return out;
}

QVariantMap MarketplaceScreen::hireWorker() const { return m_hire ? card(m_hire->worker()) : QVariantMap(); }

void MarketplaceScreen::setHireStep(int step)
{
    if (m_hire)
        m_hire->setStep(step);
}

void MarketplaceScreen::setGoalText(const QString& text)
{
    if (m_hire)
        m_hire->goalText = text;
}

void MarketplaceScreen::show()
{
    m_sidebar.setShowingMarketplace(true);
    if (!m_loadedOnce || m_model.error() || m_model.needsLogin()) {
        m_loadedOnce = true;
        m_model.load();
    }
}

void MarketplaceScreen::close()
{
    closeHire();
    m_sidebar.setShowingMarketplace(false);
}

void MarketplaceScreen::reload() { m_model.load(); }

void MarketplaceScreen::loadMore()
{
    if (!m_model.paginationFailed())
        m_model.loadNextBatch();
}

void MarketplaceScreen::startHire(const QString& workerId)
{
    for (const MarketplaceWorker& w : m_model.workers()) {
        if (w.id != workerId)
            continue;
        std::optional<HireOnboardingModel::Target> team;
        std::optional<HireOnboardingModel::Target> project;
        if (const auto& t = m_sidebar.pendingHireTeam())
            team = HireOnboardingModel::Target{t->slug, t->label};
        if (const auto& p = m_sidebar.pendingHireProject())
            project = HireOnboardingModel::Target{p->slug, p->label};
        m_hire = std::make_unique<HireOnboardingModel>(m_api, w, team, project);
        connect(m_hire.get(), &HireOnboardingModel::changed, this, &MarketplaceScreen::hireChanged);
        connect(m_hire.get(), &HireOnboardingModel::unauthorized, this, &MarketplaceScreen::unauthorized);
        m_hire->onHired = [this](const QString& id) {
            // The main view attaches the hire to its pending team, closes this screen and opens the chat.
            m_notifications.post(Notification::halvAgentCreated, id);
        };
        Q_EMIT hireChanged();
        return;
    }
}

void MarketplaceScreen::closeHire()
{
    if (!m_hire)
        return;
    m_hire->stop();
    m_hire.release()->deleteLater();
    Q_EMIT hireChanged();
}

void MarketplaceScreen::hire()
{
    if (m_hire)
        m_hire->hire();
}

} // namespace halvex
