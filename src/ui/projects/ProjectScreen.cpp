#include "ui/projects/ProjectScreen.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "core/format/SettingsDate.h"
#include "core/format/TokenDisplay.h"
#include "projects/model/ProjectIntakeRules.h"
#include "projects/model/ProjectOverviewCodec.h"

#include <QLocale>

namespace halvex {

namespace {

QString sizeText(const std::optional<qint64>& bytes)
{
    if (!bytes || *bytes < 0)
        return {};
    return QLocale().formattedDataSize(*bytes);
}

} // namespace

ProjectScreen::ProjectScreen(APIClient& api, AgentListViewModel& sidebar, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_sidebar(sidebar)
{
    connect(&m_sidebar, &AgentListViewModel::selectionChanged, this, &ProjectScreen::follow);
    follow();
}

ProjectScreen::~ProjectScreen()
{
    if (m_model)
        m_model->stop();
}

void ProjectScreen::follow()
{
    const QString selected = m_sidebar.selectedIdText();
    const QString slug = selected.startsWith(QLatin1String("project:")) ? selected.mid(8) : QString();
    if (m_model && m_model->slug() == slug)
        return;
    if (m_model) {
        m_model->stop();
        m_model.release()->deleteLater();
    }
    if (!slug.isEmpty()) {
        m_model = std::make_unique<ProjectScreenModel>(m_api, slug);
        connect(m_model.get(), &ProjectScreenModel::changed, this, &ProjectScreen::changed);
        connect(m_model.get(), &ProjectScreenModel::unauthorized, this, &ProjectScreen::unauthorized);
        // A deleted project leaves the sidebar, which then selects something else.
        connect(m_model.get(), &ProjectScreenModel::removed, &m_sidebar, [this] { m_sidebar.load(); });
        m_model->load();
    }
    Q_EMIT changed();
}

QString ProjectScreen::label() const { return m_model && m_model->project() ? m_model->project()->label : QString(); }
QString ProjectScreen::brief() const { return m_model && m_model->project() ? m_model->project()->brief : QString(); }
QString ProjectScreen::status() const { return m_model && m_model->project() ? m_model->project()->status : QString(); }

QString ProjectScreen::budgetText() const
{
    if (!m_model || !m_model->project() || !m_model->project()->settings)
        return {};
    const auto budget = m_model->project()->settings->projectBudgetUsdMonth;
    return budget ? QString::number(*budget, 'g', 12) : QString();
}

QVariantList ProjectScreen::members() const
{
    QVariantList out;
    if (!m_model)
        return out;
    for (const ProjectMember& m : m_model->members()) {
        QString name, detail;
        if (m.agent) {
            name = m.agent->name;
            detail = m.agent->role.value_or(QStringLiteral("Employee"));
        } else if (m.team) {
            name = m.team->label;
            detail = QStringLiteral("Team · %1 members").arg(m.team->members.size());
        }
        out << QVariantMap{
            {QStringLiteral("id"), m.id},
            {QStringLiteral("kind"), m.memberKind},
            {QStringLiteral("name"), name.isEmpty() ? QStringLiteral("Removed member") : name},
            {QStringLiteral("detail"), m.note.isEmpty() ? detail : detail + QStringLiteral(" · ") + m.note},
            {QStringLiteral("stale"), m.stale.value_or(false)}};
    }
    return out;
}

QVariantList ProjectScreen::files() const
{
    QVariantList out;
    if (!m_model)
        return out;
    for (const ProjectFile& f : m_model->files()) {
        const bool link = f.source == u"link";
        QStringList detail{link ? f.url : sizeText(f.sizeBytes), SettingsDate::shortText(f.createdAt)};
        detail.removeAll(QString());
        out << QVariantMap{{QStringLiteral("id"), f.id},
                           {QStringLiteral("name"), f.name.isEmpty() ? f.url : f.name},
                           {QStringLiteral("detail"), detail.join(QStringLiteral(" · "))},
                           {QStringLiteral("url"), f.url},
                           {QStringLiteral("isLink"), link}};
    }
    return out;
}

QVariantList ProjectScreen::tasks() const
{
    QVariantList out;
    if (!m_model)
        return out;
    for (const ProjectTask& t : m_model->tasks())
        out << QVariantMap{{QStringLiteral("id"), t.id},
                           {QStringLiteral("text"), t.text},
                           {QStringLiteral("status"), t.status},
                           {QStringLiteral("assignee"), t.assigneeLabel},
                           {QStringLiteral("result"), t.resultMd.value_or(QString())}};
    return out;
}

QVariantList ProjectScreen::events() const
{
    QVariantList out;
    if (!m_model)
        return out;
    for (const ProjectEvent& e : m_model->events())
        out << QVariantMap{{QStringLiteral("id"), e.id},
                           {QStringLiteral("title"), e.title},
                           {QStringLiteral("detail"), e.detail},
                           {QStringLiteral("actor"), e.actorLabel},
                           {QStringLiteral("when"), SettingsDate::shortText(e.createdAt)}};
    return out;
}

QVariantList ProjectScreen::notes() const
{
    QVariantList out;
    if (!m_model)
        return out;
    for (const ProjectNote& n : m_model->notes())
        out << QVariantMap{{QStringLiteral("id"), n.id},
                           {QStringLiteral("content"), n.content},
                           {QStringLiteral("author"), n.author},
                           {QStringLiteral("when"), SettingsDate::shortText(n.createdAt)}};
    return out;
}

QVariantMap ProjectScreen::usage() const
{
    if (!m_model || !m_model->usage())
        return {};
    const ProjectUsage& u = *m_model->usage();
    return {{QStringLiteral("spent"), TokenFormat::diamonds(u.spentUsd)},
            {QStringLiteral("budget"), u.budgetUsd > 0 ? TokenFormat::diamonds(u.budgetUsd) : QString()},
            {QStringLiteral("ratio"), u.budgetUsd > 0 ? qBound(0.0, u.spentUsd / u.budgetUsd, 1.0) : 0.0},
            {QStringLiteral("warn"), u.warn},
            {QStringLiteral("exceeded"), u.exceeded}};
}

void ProjectScreen::reload()
{
    if (m_model)
        m_model->load();
}

void ProjectScreen::loadOlderEvents()
{
    if (m_model)
        m_model->loadOlderEvents();
}

void ProjectScreen::saveBrief(const QString& brief)
{
    if (m_model)
        m_model->saveBrief(brief);
}

QVariantList ProjectScreen::overviewFields() const
{
    const QString text = brief();
    const ProjectOverview overview = ProjectOverviewCodec::parse(text, ProjectOverviewCodec::descriptionOf(text));
    QVariantList out;
    for (const QString& key : ProjectOverview::fieldKeys())
        out << QVariantMap{{QStringLiteral("key"), key},
                           {QStringLiteral("title"), ProjectIntakeRules::fieldTitle(key)},
                           {QStringLiteral("hint"), ProjectIntakeRules::fieldHint(key)},
                           {QStringLiteral("value"), overview.field(key)}};
    return out;
}

QString ProjectScreen::saveOverview(const QVariantMap& values)
{
    ProjectOverview overview;
    for (const QString& key : ProjectOverview::fieldKeys())
        overview.setField(key, values.value(key).toString().trimmed());
    if (const auto refusal = ProjectIntakeRules::profileTooLong(overview))
        return *refusal;
    saveBrief(ProjectOverviewCodec::brief(overview));
    return {};
}

bool ProjectScreen::saveSettings(const QString& label, const QString& budget)
{
    if (!m_model || label.trimmed().isEmpty())
        return false;
    std::optional<double> usd;
    if (!budget.trimmed().isEmpty()) {
        bool ok = false;
        const double v = budget.trimmed().toDouble(&ok);
        if (!ok || v < 0)
            return false;
        usd = v;
    }
    m_model->saveSettings(label, usd);
    return true;
}

void ProjectScreen::setStatus(const QString& status)
{
    if (m_model)
        m_model->setStatus(status);
}

void ProjectScreen::remove()
{
    if (m_model)
        m_model->remove();
}

void ProjectScreen::removeMember(const QString& memberId)
{
    if (m_model)
        m_model->removeMember(memberId);
}

void ProjectScreen::addLink(const QString& url)
{
    if (m_model)
        m_model->addLinks({url});
}

void ProjectScreen::upload(const QList<QUrl>& files)
{
    if (m_model)
        m_model->upload(files);
}

void ProjectScreen::deleteFile(const QString& fileId)
{
    if (m_model)
        m_model->deleteFile(fileId);
}

void ProjectScreen::addTask(const QString& text)
{
    if (m_model)
        m_model->addTask(text);
}

void ProjectScreen::setTaskStatus(const QString& taskId, const QString& status)
{
    if (m_model)
        m_model->setTaskStatus(taskId, status);
}

void ProjectScreen::addNote(const QString& text)
{
    if (m_model)
        m_model->addNote(text);
}

void ProjectScreen::deleteNote(qint64 noteId)
{
    if (m_model)
        m_model->deleteNote(noteId);
}

void ProjectScreen::hireIntoProject()
{
    if (m_model)
        m_sidebar.startCreateAgentForProject(m_model->slug(), label());
}

} // namespace halvex
