#include "create/viewmodel/CreateAgentViewModel.h"

#include "agents/model/LlmModelCatalog.h"
#include "core/format/Characters.h"
#include "core/prefs/AppNotifications.h"
#include "create/model/TeamDocuments.h"
#include "create/service/GenerationPoller.h"

#include <QRegularExpression>

#include <algorithm>

namespace halvex {

namespace {

const QString unexpectedSolo = QStringLiteral("Generation returned an unexpected result — try again.");
const QString unexpectedTeam = QStringLiteral("Team generation returned an unexpected result — try again.");

} // namespace

CreateAgentViewModel::CreateAgentViewModel(APIClient& api, Clock& clock, AppNotifications& notifications,
                                           QObject* parent)
    : CreateAgentViewModel(CreateAgentService(api), clock, notifications, parent)
{}

CreateAgentViewModel::CreateAgentViewModel(CreateAgentService service, Clock& clock, AppNotifications& notifications,
                                           QObject* parent)
    : QObject(parent),
      m_service(std::move(service)),
      m_clock(clock),
      m_notifications(notifications)
{}

CreateAgentViewModel::~CreateAgentViewModel() { stop(); }

bool CreateAgentViewModel::inProgress() const
{
    return m_step == Step::generating || m_step == Step::clarify || m_step == Step::review;
}

QList<ClarifyQuestion> CreateAgentViewModel::currentGroupQuestions() const
{
    return clarifyGroups().value(m_questionGroup);
}

QString CreateAgentViewModel::clarifyGroupTitle() const
{
    return ClarifyRounds::pageTitle(m_questionGroup, int(clarifyGroups().size()), kind);
}

QString CreateAgentViewModel::clarifyGroupSubtitle() const
{
    return ClarifyRounds::pageSubtitle(m_questionGroup, int(clarifyGroups().size()), kind);
}

QString CreateAgentViewModel::agentName() const
{
    if (!m_draft)
        return QStringLiteral("New employee");
    return ClarifyRounds::identityName(m_draft->name, brief.trimmed());
}

QString CreateAgentViewModel::finalName() const
{
    const QString edited = editedName.trimmed();
    return edited.isEmpty() ? agentName() : edited;
}

QString CreateAgentViewModel::finalTeamLabel() const
{
    const QString edited = editedTeamName.trimmed();
    if (!edited.isEmpty())
        return edited;
    if (m_teamDraft && m_teamDraft->name && !m_teamDraft->name->isEmpty())
        return *m_teamDraft->name;
    return QStringLiteral("New team");
}

QList<CreateFlowStageStatus> CreateAgentViewModel::progress() const
{
    return CreateFlowProgress::statuses(m_step, m_creating, m_round);
}

QList<ClarificationAnswer> CreateAgentViewModel::collectAnswers() const
{
    QList<ClarificationAnswer> answers;
    for (const ClarifyQuestion& q : m_clarifyQuestions) {
        const QString id = q.id();
        const QString answer = ClarifyRounds::answerFor(q, choices.value(id), customAnswers.value(id));
        if (!answer.isEmpty())
            answers.append({q.key.value_or(QString()), q.question.value_or(QString()), answer});
    }
    return answers;
}

void CreateAgentViewModel::setError(std::optional<QString> text)
{
    m_error = std::move(text);
    Q_EMIT changed();
}

void CreateAgentViewModel::setStep(Step step)
{
    m_step = step;
    Q_EMIT changed();
}

// --- generation --------------------------------------------------------------------------------

QCoro::Task<void> CreateAgentViewModel::generate(bool forceReady)
{
    const QString trimmed = brief.trimmed();
    if (characterCount(trimmed) < 10)
        co_return;
    const CancelToken token = m_generation.next();
    m_error.reset();
    m_generationStartedAt = m_clock.now();
    m_statusNote = kind == CreateKind::solo ? QStringLiteral("Designing your employee…")
                                            : QStringLiteral("Designing your team…");
    setStep(Step::generating);
    QList<ClarificationAnswer> answers = m_clarifications + m_defaultClarifications;
    if (kind == CreateKind::solo)
        co_await generateSolo(trimmed, std::move(answers), forceReady, token);
    else
        co_await generateTeam(trimmed, std::move(answers), forceReady, token);
}

QCoro::Task<void> CreateAgentViewModel::generateSolo(QString trimmedBrief, QList<ClarificationAnswer> answers,
                                                     bool forceReady, CancelToken token)
{
    std::optional<AgentDraft> result;
    try {
        const std::optional<BrainModel> builder = BrainCatalog::model(builderModelId);
        const QString agentType = mode;
        const GenerationStart<AgentDraft> start
            = co_await m_service.startGenerate(trimmedBrief, agentType, m_round, answers, forceReady, builder, token);
        if (token.isCancelled())
            co_return;
        if (start.immediate) {
            result = start.immediate;
        } else {
            QCoro::Task<std::optional<AgentDraft>> polling
                = GenerationPoller::agentDraft(m_service, m_clock, start.jobId, token);
            result = co_await std::move(polling);
        }
    } catch (...) {
        if (!token.isCancelled())
            failGeneration(std::current_exception());
        co_return;
    }
    if (!token.isCancelled())
        co_await handleSolo(std::move(result));
}

QCoro::Task<void> CreateAgentViewModel::generateTeam(QString trimmedBrief, QList<ClarificationAnswer> answers,
                                                     bool forceReady, CancelToken token)
{
    std::optional<TeamDraft> result;
    try {
        const GenerationStart<TeamDraft> start
            = co_await m_service.startGenerateTeam(trimmedBrief, m_round, answers, forceReady, token);
        if (token.isCancelled())
            co_return;
        if (start.immediate) {
            result = start.immediate;
        } else {
            QCoro::Task<std::optional<TeamDraft>> polling
                = GenerationPoller::teamDraft(m_service, m_clock, start.jobId, token);
            result = co_await std::move(polling);
        }
    } catch (...) {
        if (!token.isCancelled())
            failGeneration(std::current_exception());
        co_return;
    }
    if (!token.isCancelled())
        co_await handleTeam(std::move(result));
}

void CreateAgentViewModel::failGeneration(const std::exception_ptr& error)
{
    QString text = QStringLiteral("Could not generate.");
    try {
        std::rethrow_exception(error);
    } catch (const GenerationPollFailure& failure) {
        text = failure.message();
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::unauthorized)
            Q_EMIT unauthorized();
        if (!e.description().isEmpty())
            text = e.description();
    } catch (...) {}
    m_error = text;
    setStep(Step::describe);
}

QCoro::Task<void> CreateAgentViewModel::handleSolo(std::optional<AgentDraft> draft)
{
    const QString draftMode = draft ? draft->mode.value_or(QString()) : QString();
    if (draftMode == u"clarify") {
        QList<ClarifyQuestion> questions = draft->questions.value_or(QList<ClarifyQuestion>());
        co_await applyQuestions(std::move(questions));
        co_return;
    }
    if (draftMode != u"ready") {
        m_error = draft && draft->error && !draft->error->isEmpty() ? *draft->error : unexpectedSolo;
        setStep(Step::describe);
        co_return;
    }
    m_draft = std::move(draft);
    editedName = ClarifyRounds::identityName(m_draft->name, brief.trimmed());
    const std::optional<AgentTrigger>& trigger = m_draft->trigger;
    triggerType = mode == u"employee" ? QStringLiteral("manual")
        : trigger                     ? trigger->type.value_or(QStringLiteral("manual"))
                                      : QStringLiteral("manual");
    intervalMinutes = trigger ? trigger->intervalMinutes.value_or(60) : 60;
    if (autoBuild) {
        co_await create();
        co_return;
    }
    setStep(Step::review);
}

QCoro::Task<void> CreateAgentViewModel::handleTeam(std::optional<TeamDraft> draft)
{
    const QString draftMode = draft ? draft->mode.value_or(QString()) : QString();
    if (draftMode == u"clarify") {
        QList<ClarifyQuestion> questions = draft->questions.value_or(QList<ClarifyQuestion>());
        co_await applyQuestions(std::move(questions));
        co_return;
    }
    if (draftMode != u"ready") {
        m_error = draft && draft->error && !draft->error->isEmpty() ? *draft->error : unexpectedTeam;
        setStep(Step::describe);
        co_return;
    }
    m_teamDraft = std::move(draft);
    editedTeamName = m_teamDraft->name.value_or(QStringLiteral("New team"));
    setStep(Step::review);
}

QCoro::Task<void> CreateAgentViewModel::applyQuestions(QList<ClarifyQuestion> questions)
{
    QList<ClarifyQuestion> kept;
    for (const ClarifyQuestion& q : questions) {
        // The built-in chat is always the channel: the flow answers that question itself.
        const QList<ClarifyOption> options = q.options.value_or(QList<ClarifyOption>());
        const auto inApp = std::find_if(options.cbegin(), options.cend(), [](const ClarifyOption& o) {
            return o.value == QStringLiteral("in_app_chat");
        });
        if (inApp == options.cend()) {
            kept.append(q);
            continue;
        }
        m_defaultClarifications.append({q.key.value_or(QStringLiteral("channel")), q.question.value_or(QString()),
                                        inApp->label.value_or(QStringLiteral("Tessal chat (built-in)"))});
    }
    if (kept.isEmpty()) {
        ++m_round;
        co_await generate(true);
        co_return;
    }
    m_clarifyQuestions = kept;
    m_questionGroup = 0;
    choices.clear();
    customAnswers.clear();
    setStep(Step::clarify);
}

// --- clarify rounds ------------------------------------------------------------------------------

QCoro::Task<void> CreateAgentViewModel::clarifyContinue()
{
    m_error.reset();
    if (m_questionGroup < clarifyGroups().size() - 1) {
        ++m_questionGroup;
        Q_EMIT changed();
        co_return;
    }
    const QList<ClarificationAnswer> answers = collectAnswers();
    if (answers.isEmpty()) {
        setError(QStringLiteral("Answer at least one question — or let Tessal decide the rest."));
        co_return;
    }
    m_clarifications += answers;
    ++m_round;
    co_await generate(false);
}

QCoro::Task<void> CreateAgentViewModel::clarifySkip()
{
    m_error.reset();
    m_clarifications += collectAnswers();
    ++m_round;
    co_await generate(true);
}

void CreateAgentViewModel::clarifyBack()
{
    if (m_questionGroup >= 1) {
        --m_questionGroup;
        Q_EMIT changed();
    }
}

void CreateAgentViewModel::backToDescribe()
{
    m_generation.cancel();
    m_clarifyQuestions.clear();
    m_questionGroup = 0;
    choices.clear();
    customAnswers.clear();
    setStep(Step::describe);
}

// --- hiring --------------------------------------------------------------------------------------

QCoro::Task<void> CreateAgentViewModel::create()
{
    if (!m_draft)
        co_return;
    const CancelToken token = m_scope.token();
    m_error.reset();
    m_statusNote = QStringLiteral("Creating your employee…");
    m_creating = true;
    setStep(Step::generating);
    EmployeeRequest request{finalName(),
                            brief.trimmed(),
                            *m_draft,
                            mode,
                            triggerType,
                            triggerType == u"schedule" ? std::optional<int>(intervalMinutes) : std::nullopt,
                            BrainCatalog::model(brainModelId),
                            projectSlug};
    QString id;
    try {
        id = co_await m_service.create(std::move(request), token);
    } catch (const std::exception& e) {
        if (token.isCancelled())
            co_return;
        failHire(e, QStringLiteral("Could not create the employee."));
        co_return;
    }
    if (token.isCancelled())
        co_return;
    m_createdId = id;
    m_creating = false;
    setStep(Step::done);
    m_notifications.post(Notification::halvAgentCreated, id);
}

QCoro::Task<void> CreateAgentViewModel::createTeam()
{
    if (!m_teamDraft)
        co_return;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QString label = finalTeamLabel();
    label.replace(blanks, QStringLiteral(" "));
    label = leftCharacters(label, 80);
    m_error.reset();
    if (TeamDocuments::slugify(label).isEmpty()) {
        setError(QStringLiteral("Use a Latin team name — “") + label
                 + QStringLiteral("” can't form a unique team URL."));
        co_return;
    }
    const CancelToken token = m_scope.token();
    m_statusNote = QStringLiteral("Creating your team…");
    m_creating = true;
    setStep(Step::generating);
    QString slug;
    try {
        slug = co_await m_service.createTeam(label, *m_teamDraft, brief.trimmed(), projectSlug, token);
    } catch (const std::exception& e) {
        if (token.isCancelled())
            co_return;
        failHire(e, QStringLiteral("Could not create the team."));
        co_return;
    }
    if (token.isCancelled())
        co_return;
    m_createdTeamSlug = slug;
    m_creating = false;
    setStep(Step::done);
    m_notifications.post(Notification::halvTeamRenamed);
}

void CreateAgentViewModel::failHire(const std::exception& error, const QString& fallback)
{
    const auto* api = dynamic_cast<const APIError*>(&error);
    if (api && api->kind() == APIError::Kind::unauthorized)
        Q_EMIT unauthorized();
    m_error = api && !api->description().isEmpty() ? api->description() : fallback;
    m_creating = false;
    setStep(Step::review);
}

void CreateAgentViewModel::reset()
{
    stop();
    kind = CreateKind::solo;
    mode = QStringLiteral("employee");
    brief.clear();
    projectSlug.reset();
    brainModelId.reset();
    builderModelId.reset();
    autoBuild = false;
    editedName.clear();
    editedTeamName.clear();
    triggerType = QStringLiteral("manual");
    intervalMinutes = 60;
    choices.clear();
    customAnswers.clear();
    m_step = Step::describe;
    m_creating = false;
    m_statusNote.clear();
    m_error.reset();
    m_draft.reset();
    m_teamDraft.reset();
    m_createdId.reset();
    m_createdTeamSlug.reset();
    m_round = 1;
    m_clarifyQuestions.clear();
    m_questionGroup = 0;
    m_clarifications.clear();
    m_defaultClarifications.clear();
    m_generationStartedAt.reset();
    Q_EMIT changed();
}

void CreateAgentViewModel::stop()
{
    m_generation.cancel();
    m_scope.cancelAll();
}

} // namespace halvex
