#include "projects/viewmodel/ProjectIntakeModel.h"

#include "core/async/Failure.h"
#include "projects/model/ProjectIntakeRules.h"

#include <QUuid>

namespace halvex {

namespace {

QString newRequestID() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

const QStringList kStepNames{QStringLiteral("about"), QStringLiteral("questions"), QStringLiteral("review"),
                             QStringLiteral("people")};

} // namespace

ProjectIntakeModel::ProjectIntakeModel(APIClient& api, Clock& clock, Preferences* preferences,
                                       AgentListViewModel* sidebar, QObject* parent)
    : QObject(parent),
      m_api(api),
      m_service(api),
      m_clock(clock),
      m_preferences(preferences),
      m_sidebar(sidebar),
      m_creationRequestID(newRequestID())
{}

ProjectIntakeModel::~ProjectIntakeModel() = default;

QString ProjectIntakeModel::stepName(ProjectIntakeStep step) { return kStepNames.value(int(step)); }

int ProjectIntakeModel::pageCount() const { return int(ProjectIntakeQuestionGroups::split(m_questions).size()); }

QList<ProjectIntakeQuestion> ProjectIntakeModel::currentPage() const
{
    return ProjectIntakeQuestionGroups::split(m_questions).value(m_questionGroup);
}

QString ProjectIntakeModel::answer(const QString& key) const
{
    return ProjectIntakeRules::answerOf(m_typed.value(key), m_chosen.value(key));
}

ProjectIntakeProgress ProjectIntakeModel::progress() const
{
    return ProjectIntakeProgress::of(m_phase, !websiteURL().isEmpty());
}

QString ProjectIntakeModel::websiteURL() const
{
    const auto url = ProjectIntakeRules::normalisedWebsite(m_website);
    return url ? url->toString() : QString();
}

void ProjectIntakeModel::assign(QString& field, const QString& text)
{
    if (text == field)
        return;
    field = text;
    Q_EMIT changed();
}

void ProjectIntakeModel::setLabel(const QString& text) { assign(m_label, text); }
void ProjectIntakeModel::setWebsite(const QString& text) { assign(m_website, text); }
void ProjectIntakeModel::setDescription(const QString& text) { assign(m_description, text); }
void ProjectIntakeModel::setLinksText(const QString& text) { assign(m_links, text); }

void ProjectIntakeModel::choose(const QString& key, const QString& option)
{
    m_chosen.insert(key, option);
    // Picking an option after typing means the option: the typed text would win otherwise.
    m_typed.remove(key);
    m_error.reset();
    Q_EMIT changed();
}

void ProjectIntakeModel::type(const QString& key, const QString& text)
{
    if (m_typed.value(key) == text)
        return;
    m_typed.insert(key, text);
    Q_EMIT changed();
}

void ProjectIntakeModel::setField(const QString& key, const QString& text)
{
    if (!ProjectOverview::fieldKeys().contains(key))
        return;
    ProjectOverview overview = m_overview.value_or(ProjectOverview{});
    if (m_overview && overview.field(key) == text)
        return;
    overview.setField(key, text);
    m_overview = overview;
    m_dirtyFields.insert(key);
    Q_EMIT changed();
}

void ProjectIntakeModel::addFiles(const QList<QUrl>& urls)
{
    m_filesNotice.clear();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile() || m_files.contains(url))
            continue;
        if (m_files.size() >= ProjectIntakeRules::maxFiles) {
            m_filesNotice = ProjectIntakeRules::tooManyFiles();
            break;
        }
        m_files.append(url);
    }
    Q_EMIT changed();
}

void ProjectIntakeModel::removeFile(int index)
{
    if (index < 0 || index >= m_files.size())
        return;
    m_files.removeAt(index);
    m_filesNotice.clear();
    Q_EMIT changed();
}

ProjectIntakeDraft ProjectIntakeModel::draft() const
{
    ProjectIntakeDraft d;
    d.step = stepName(m_step);
    d.label = m_label;
    d.website = m_website;
    d.description = m_description;
    d.links = m_links;
    d.source = m_source;
    d.questions = m_questions;
    d.questionGroup = m_questionGroup;
    for (const ProjectIntakeQuestion& q : m_questions)
        if (const QString a = answer(q.key); !a.isEmpty())
            d.answers.insert(q.key, a);
    d.overview = m_overview;
    d.needsInput = m_needsInput;
    d.dirtyFields = m_dirtyFields;
    d.creationRequestID = m_creationRequestID;
    return d;
}

void ProjectIntakeModel::apply(const ProjectIntakeDraft& d)
{
    // A created project removes its draft: a draft of the last step is a stale one.
    m_step = d.step == u"people" ? ProjectIntakeStep::review : ProjectIntakeStep(kStepNames.indexOf(d.step));
    m_label = d.label;
    m_website = d.website;
    m_description = d.description;
    m_links = d.links;
    m_source = d.source;
    m_questions = d.questions;
    m_questionGroup = qBound(0, d.questionGroup, qMax(0, pageCount() - 1));
    m_chosen.clear();
    m_typed.clear();
    for (const ProjectIntakeQuestion& q : m_questions) {
        const QString a = d.answers.value(q.key);
        if (q.options.contains(a))
            m_chosen.insert(q.key, a);
        else if (!a.isEmpty())
            m_typed.insert(q.key, a);
    }
    m_overview = d.overview;
    m_needsInput = d.needsInput;
    m_dirtyFields = d.dirtyFields;
    m_creationRequestID = d.creationRequestID.isEmpty() ? newRequestID() : d.creationRequestID;
}

void ProjectIntakeModel::restore()
{
    if (m_busy)
        return;
    const auto kept = m_preferences ? ProjectIntakeDraftStore::load(*m_preferences, m_clock.now()) : std::nullopt;
    apply(kept.value_or(ProjectIntakeDraft{}));
    m_files.clear();
    m_filesNotice.clear();
    m_error.reset();
    m_warnings.clear();
    m_created.reset();
    Q_EMIT changed();
}

void ProjectIntakeModel::discard()
{
    cancel();
    if (m_preferences)
        ProjectIntakeDraftStore::remove(*m_preferences);
    restore();
}

void ProjectIntakeModel::saveDraft()
{
    const bool started = m_step != ProjectIntakeStep::about || !m_label.trimmed().isEmpty()
        || !m_website.trimmed().isEmpty() || !m_description.trimmed().isEmpty() || !m_links.trimmed().isEmpty();
    if (m_preferences && started && m_step != ProjectIntakeStep::people)
        ProjectIntakeDraftStore::save(draft(), *m_preferences, m_clock.now());
}

void ProjectIntakeModel::setStep(ProjectIntakeStep step)
{
    const bool moved = step != m_step;
    m_step = step;
    if (moved)
        saveDraft();
}

void ProjectIntakeModel::setQuestionGroup(int group)
{
    const bool moved = group != m_questionGroup;
    m_questionGroup = group;
    if (moved)
        saveDraft();
}

void ProjectIntakeModel::refuse(const QString& message)
{
    m_error = message;
    Q_EMIT changed();
}

CancelToken ProjectIntakeModel::begin(ProjectIntakePhase phase)
{
    const CancelToken token = m_work.next();
    m_busy = true;
    m_phase = phase;
    m_error.reset();
    Q_EMIT changed();
    return token;
}

void ProjectIntakeModel::finish(const std::exception_ptr& failure)
{
    m_busy = false;
    m_phase = ProjectIntakePhase::none;
    if (failure)
        m_error = Failure::shown(failure, [this] { Q_EMIT unauthorized(); });
    Q_EMIT changed();
}

void ProjectIntakeModel::cancel()
{
    if (!m_busy)
        return;
    m_work.cancel();
    finish();
}

QCoro::Task<void> ProjectIntakeModel::analyse()
{
    if (m_busy)
        co_return;
    if (const auto refused = ProjectIntakeRules::validateName(m_label)) {
        refuse(*refused);
        co_return;
    }
    const QString website = websiteURL();
    const QString description = m_description.trimmed();
    if (website.isEmpty() && description.isEmpty()) {
        refuse(QStringLiteral("Add a website or a short description, or choose Fill manually."));
        co_return;
    }
    const CancelToken token = begin(ProjectIntakePhase::questions);
    QCoro::Task<ProjectIntakeQuestionsResponse> call
        = m_service.intakeQuestions(m_label.trimmed(), website, description, token);
    const std::optional<ProjectIntakeQuestionsResponse> answer = co_await attempt(std::move(call), token);
    if (!answer)
        co_return;
    if (answer->questions.isEmpty()) {
        finish();
        refuse(QStringLiteral("No intake questions were returned — try again."));
        co_return;
    }
    m_source = answer->source;
    // New questions: answers and a profile of an earlier reading no longer apply.
    if (answer->questions != m_questions) {
        m_chosen.clear();
        m_typed.clear();
    }
    m_questions = answer->questions;
    m_questionGroup = 0;
    m_step = ProjectIntakeStep::questions;
    saveDraft();
    finish();
}

void ProjectIntakeModel::fillManually()
{
    if (m_busy)
        return;
    if (const auto refused = ProjectIntakeRules::validateName(m_label)) {
        refuse(*refused);
        return;
    }
    m_source.reset();
    m_overview = ProjectOverview{m_description.trimmed(), {}, {}, {}, {}};
    m_needsInput.clear();
    m_dirtyFields.clear();
    m_error.reset();
    setStep(ProjectIntakeStep::review);
    Q_EMIT changed();
}

QCoro::Task<void> ProjectIntakeModel::advanceQuestions()
{
    if (m_busy || m_step != ProjectIntakeStep::questions)
        co_return;
    for (const ProjectIntakeQuestion& q : currentPage())
        if (answer(q.key).isEmpty()) {
            refuse(QStringLiteral("Choose an option or type an answer for each question."));
            co_return;
        }
    m_error.reset();
    if (m_questionGroup + 1 < pageCount()) {
        setQuestionGroup(m_questionGroup + 1);
        Q_EMIT changed();
        co_return;
    }
    co_await buildOverview(false);
}

void ProjectIntakeModel::back()
{
    if (m_busy)
        return;
    m_error.reset();
    if (m_step == ProjectIntakeStep::questions && m_questionGroup > 0)
        setQuestionGroup(m_questionGroup - 1);
    else if (m_step == ProjectIntakeStep::questions)
        setStep(ProjectIntakeStep::about);
    else if (m_step == ProjectIntakeStep::review)
        setStep(m_questions.isEmpty() ? ProjectIntakeStep::about : ProjectIntakeStep::questions);
    Q_EMIT changed();
}

QList<ProjectIntakeAnswer> ProjectIntakeModel::collectAnswers() const
{
    QList<ProjectIntakeAnswer> out;
    for (const ProjectIntakeQuestion& q : m_questions)
        if (const QString a = answer(q.key); !a.isEmpty())
            out.append({q.key, a});
    return out;
}

QCoro::Task<void> ProjectIntakeModel::buildOverview(bool preserveEdits)
{
    if (m_busy)
        co_return;
    const CancelToken token = begin(ProjectIntakePhase::overview);
    const QList<ProjectIntakeAnswer> answers = collectAnswers();
    QCoro::Task<ProjectIntakeOverviewResponse> call
        = m_service.intakeOverview(m_label.trimmed(), websiteURL(), m_description.trimmed(), m_source, answers, token);
    const std::optional<ProjectIntakeOverviewResponse> answer = co_await attempt(std::move(call), token);
    if (!answer)
        co_return;
    const ProjectOverview written = ProjectOverview::from(answer->overview);
    ProjectOverview next = written;
    if (preserveEdits && m_overview)
        for (const QString& key : m_dirtyFields)
            next.setField(key, m_overview->field(key));
    else
        m_dirtyFields.clear();
    m_overview = next;
    m_needsInput = answer->needsInput;
    if (answer->source)
        m_source = answer->source;
    m_step = ProjectIntakeStep::review;
    saveDraft();
    finish();
}

} // namespace halvex
