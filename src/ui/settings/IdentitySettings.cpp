#include "ui/settings/IdentitySettings.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "agents/viewmodel/IdentitySettingsModel.h"
#include "core/prefs/Preferences.h"

#include <QVariantMap>

namespace halvex {

namespace {
// Employees and workers the user can open settings for: the sidebar's candidates and model chats.
QList<Agent> editableAgents(const AgentListViewModel& sidebar)
{
    QList<Agent> list;
    for (const Agent& agent : sidebar.visibleAgents())
        if (!agent.isOrchestrator.value_or(false))
            list.append(agent);
    return list;
}
} // namespace

IdentitySettings::IdentitySettings(APIClient& api, AgentListViewModel& sidebar, Preferences& preferences,
                                   QObject* parent)
    : QObject(parent),
      m_sidebar(sidebar),
      m_preferences(preferences),
      m_model(std::make_unique<IdentitySettingsModel>(api))
{
    connect(m_model.get(), &IdentitySettingsModel::changed, this, &IdentitySettings::changed);
    connect(m_model.get(), &IdentitySettingsModel::unauthorized, this, &IdentitySettings::unauthorized);
    // A renamed employee shows its new name in the sidebar at once.
    connect(m_model.get(), &IdentitySettingsModel::agentSaved, &m_sidebar, &AgentListViewModel::load);
    connect(&m_sidebar, &AgentListViewModel::sectionsChanged, this, [this] {
        Q_EMIT agentsChanged();
        // The page may have opened before the list arrived.
        if (m_openRequested && !m_model->agentId())
            open();
    });
}

IdentitySettings::~IdentitySettings() { m_model->stop(); }

QVariantList IdentitySettings::agents() const
{
    QVariantList list;
    for (const Agent& agent : editableAgents(m_sidebar))
        list.append(QVariantMap{{QStringLiteral("id"), agent.id}, {QStringLiteral("name"), agent.name}});
    return list;
}

QString IdentitySettings::agentId() const { return m_model->agentId().value_or(QString()); }
QString IdentitySettings::name() const { return m_model->name(); }
void IdentitySettings::setName(const QString& v) { m_model->setName(v); }
QString IdentitySettings::responseLanguage() const { return m_model->responseLanguage(); }
void IdentitySettings::setResponseLanguage(const QString& v) { m_model->setResponseLanguage(v); }
QString IdentitySettings::voiceChoice() const { return m_model->voiceChoice(); }
QString IdentitySettings::company() const { return m_model->company(); }
void IdentitySettings::setCompany(const QString& v) { m_model->setCompany(v); }
QString IdentitySettings::website() const { return m_model->website(); }
void IdentitySettings::setWebsite(const QString& v) { m_model->setWebsite(v); }
bool IdentitySettings::loading() const { return m_model->isLoading(); }
bool IdentitySettings::savingAgent() const { return m_model->savingAgent(); }
bool IdentitySettings::savingProfile() const { return m_model->savingProfile(); }
QString IdentitySettings::status() const { return m_model->status(); }
QString IdentitySettings::error() const { return m_model->error().value_or(QString()); }

void IdentitySettings::open()
{
    m_openRequested = true;
    const QList<Agent> agents = editableAgents(m_sidebar);
    if (agents.isEmpty())
        return;
    const auto listed = [&agents](const QString& id) {
        return std::any_of(agents.begin(), agents.end(), [&id](const Agent& a) { return a.id == id; });
    };
    QString id = m_preferences.settingsAgentId().value_or(QString());
    if (!listed(id))
        id = m_sidebar.selectedIdText();
    if (!listed(id))
        id = agents.first().id;
    if (id != agentId() || !m_model->loadedAgentId())
        selectAgent(id);
}

void IdentitySettings::selectAgent(const QString& id)
{
    for (const Agent& agent : editableAgents(m_sidebar)) {
        if (agent.id != id)
            continue;
        m_preferences.setSettingsAgentId(id);
        m_model->load(agent);
        return;
    }
}

void IdentitySettings::saveAgent() { m_model->saveAgent(); }
void IdentitySettings::selectVoice(const QString& choice) { m_model->selectVoice(choice); }
void IdentitySettings::saveProfile() { m_model->saveProfile(); }

} // namespace halvex
