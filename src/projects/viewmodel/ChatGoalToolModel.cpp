#include "projects/viewmodel/ChatGoalToolModel.h"

#include "core/APIError.h"
#include "projects/model/GoalBuilders.h"

#include <QPointer>
#include <QUuid>

namespace halvex {

ChatGoalToolModel::ChatGoalToolModel(GoalScope scope, APIClient& api, Clock& clock, QObject* parent)
    : QObject(parent),
      m_scope(std::move(scope)),
      m_clock(clock),
      m_goals(api)
{}

void ChatGoalToolModel::setObjectiveDraft(const QString& text)
{
    if (m_objectiveDraft == text)
        return;
    m_objectiveDraft = text;
    Q_EMIT changed();
}

void ChatGoalToolModel::setAnswerDraft(const QString& text)
{
    if (m_answerDraft == text)
        return;
    m_answerDraft = text;
    Q_EMIT changed();
}

QCoro::Task<void> ChatGoalToolModel::refresh()
{
    QPointer<ChatGoalToolModel> self(this);
    const CancelToken token = m_work.token();
    const GoalScope scope = m_scope;
    try {
        const QList<GoalListItem> goals = co_await m_goals.list(scope, listLimit, token);
        if (!self || token.isCancelled())
            co_return;
        m_rows = GoalRowsBuilder::rows(goals);
        m_loaded = true;
    } catch (const APIError& e) {
        if (!self || isCancellation(e))
            co_return;
        m_error = e.description();
    }
    Q_EMIT changed();
}

void ChatGoalToolModel::startCreate(std::optional<QString> prefill)
{
    m_mode = GoalToolMode::create();
    m_objectiveDraft = prefill.value_or(QString());
    m_flowStartedAt = m_clock.now();
    m_error.reset();
    m_notice.reset();
    Q_EMIT changed();
}

QCoro::Task<void> ChatGoalToolModel::submitObjective()
{
    const QString objective = m_objectiveDraft.trimmed();
    if (objective.isEmpty())
        co_return;
    co_await runStep(Step::start, objective);
}

QCoro::Task<void> ChatGoalToolModel::submitAnswer()
{
    const QString answer = m_answerDraft.trimmed();
    if (!m_requestId || answer.isEmpty())
        co_return;
    co_await runStep(Step::answer, answer);
}

QCoro::Task<void> ChatGoalToolModel::retry()
{
    if (!m_requestId)
        co_return;
    const QString none;
    co_await runStep(Step::resume, none);
}

void ChatGoalToolModel::close()
{
    m_work.cancelAll();
    m_mode = GoalToolMode::list();
    m_busy = false;
    m_busyStartedAt.reset();
    m_error.reset();
    Q_EMIT changed();
}

QCoro::Task<void> ChatGoalToolModel::runStep(Step step, QString text)
{
    if (m_busy)
        co_return;
    QPointer<ChatGoalToolModel> self(this);
    const CancelToken token = m_work.token();
    const GoalScope scope = m_scope;
    const QString requestId = m_requestId.value_or(QString());
    m_busy = true;
    m_busyStartedAt = m_clock.now();
    m_error.reset();
    Q_EMIT changed();
    try {
        GoalAutoStartResponse answer;
        if (step == Step::start) {
            const QString clientRequestId = QUuid::createUuid().toString(QUuid::WithoutBraces);
            answer = co_await m_goals.autoStart(scope, text, clientRequestId, token);
        } else if (step == Step::answer) {
            answer = co_await m_goals.answer(scope, requestId, text, token);
        } else {
            answer = co_await m_goals.resume(scope, requestId, token);
        }
        if (!self || token.isCancelled())
            co_return;
        apply(answer);
    } catch (const APIError& e) {
        if (!self || isCancellation(e))
            co_return;
        m_error = e.description();
    }
    m_busy = false;
    m_busyStartedAt.reset();
    Q_EMIT changed();
}

void ChatGoalToolModel::apply(const GoalAutoStartResponse& answer)
{
    if (answer.requestId)
        m_requestId = answer.requestId;
    const QString status = answer.status.value_or(QString());
    if (status == QLatin1String("started")) {
        const QString objective = answer.goal ? answer.goal->objective : m_objectiveDraft.trimmed();
        m_mode = GoalToolMode::done(objective);
        m_notice = QStringLiteral("Goal started: “") + objective + QStringLiteral("”");
        m_objectiveDraft.clear();
        m_answerDraft.clear();
        refresh();
    } else if (status == QLatin1String("clarification_required") || status == QLatin1String("setup_required")) {
        m_mode = GoalToolMode::question(answer.question.value_or(QString()), answer.step.value_or(0),
                                        answer.totalSteps.value_or(0), answer.options.value_or(QStringList()));
        m_answerDraft.clear();
    } else {
        m_error = answer.error.value_or(answer.message.value_or(QString()));
    }
}

} // namespace halvex
