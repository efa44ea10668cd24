#include "ui/projects/ProjectIntakeSheet.h"

#include "projects/model/ProjectIntakeRules.h"

namespace halvex {

ProjectIntakeSheet::ProjectIntakeSheet(APIClient& api, Clock& clock, Preferences& preferences,
                                       AgentListViewModel& sidebar, QObject* parent)
    : QObject(parent),
      m_model(api, clock, &preferences, &sidebar)
{
    connect(&m_model, &ProjectIntakeModel::changed, this, &ProjectIntakeSheet::changed);
    connect(&m_model, &ProjectIntakeModel::unauthorized, this, &ProjectIntakeSheet::unauthorized);
}

ProjectIntakeSheet::~ProjectIntakeSheet() { m_model.cancel(); }

QString ProjectIntakeSheet::addressPreview() const { return ProjectIntakeRules::addressPreview(m_model.label()); }

QVariantList ProjectIntakeSheet::pageQuestions() const
{
    QVariantList out;
    for (const ProjectIntakeQuestion& q : m_model.currentPage())
        out << QVariantMap{{QStringLiteral("key"), q.key},
                           {QStringLiteral("question"), q.question},
                           {QStringLiteral("hint"), q.hint.value_or(QString())},
                           {QStringLiteral("options"), q.options},
                           {QStringLiteral("chosen"), m_model.chosen(q.key)},
                           {QStringLiteral("typed"), m_model.typed(q.key)}};
    return out;
}

QString ProjectIntakeSheet::pageTitle() const
{
    const int total = int(m_model.questions().size());
    const int first = m_model.questionGroup() * ProjectIntakeQuestionGroups::pageSize + 1;
    const int last = qMin(total, first + int(m_model.currentPage().size()) - 1);
    if (total == 0)
        return {};
    return first == last ? QStringLiteral("Question %1 of %2").arg(first).arg(total)
                         : QStringLiteral("Questions %1–%2 of %3").arg(first).arg(last).arg(total);
}

QVariantList ProjectIntakeSheet::fields() const
{
    QVariantList out;
    const ProjectOverview overview = m_model.overview().value_or(ProjectOverview{});
    for (const QString& key : ProjectOverview::fieldKeys())
        out << QVariantMap{{QStringLiteral("key"), key},
                           {QStringLiteral("title"), ProjectIntakeRules::fieldTitle(key)},
                           {QStringLiteral("hint"), ProjectIntakeRules::fieldHint(key)},
                           {QStringLiteral("text"), overview.field(key)},
                           {QStringLiteral("needsInput"), m_model.needsInput().contains(key)},
                           {QStringLiteral("edited"), m_model.dirtyFields().contains(key)}};
    return out;
}

QVariantList ProjectIntakeSheet::files() const
{
    QVariantList out;
    for (const QUrl& url : m_model.files())
        out << QVariantMap{{QStringLiteral("name"), url.fileName()}, {QStringLiteral("path"), url.toLocalFile()}};
    return out;
}

QVariantMap ProjectIntakeSheet::progress() const
{
    const ProjectIntakeProgress p = m_model.progress();
    QVariantList checklist;
    for (const ProjectIntakeCheck& c : p.checklist)
        checklist << QVariantMap{{QStringLiteral("title"), c.title}, {QStringLiteral("detail"), c.detail}};
    return {{QStringLiteral("source"), p.source},     {QStringLiteral("headline"), p.headline},
            {QStringLiteral("detail"), p.detail},     {QStringLiteral("status"), p.status},
            {QStringLiteral("duration"), p.duration}, {QStringLiteral("checklist"), checklist}};
}

void ProjectIntakeSheet::start()
{
    if (m_open)
        return;
    m_model.restore();
    m_open = true;
    Q_EMIT changed();
}

void ProjectIntakeSheet::close()
{
    m_model.cancel();
    m_model.saveDraft();
    m_open = false;
    Q_EMIT changed();
}

void ProjectIntakeSheet::analyse() { m_model.analyse(); }
void ProjectIntakeSheet::fillManually() { m_model.fillManually(); }
void ProjectIntakeSheet::advance() { m_model.advanceQuestions(); }
void ProjectIntakeSheet::refreshSuggestions() { m_model.refreshSuggestions(); }
void ProjectIntakeSheet::create() { m_model.create(); }

void ProjectIntakeSheet::openProject()
{
    m_model.openProject();
    close();
}

void ProjectIntakeSheet::createEmployee()
{
    m_model.createEmployee();
    close();
}

} // namespace halvex
