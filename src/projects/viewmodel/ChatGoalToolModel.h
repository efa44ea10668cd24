#pragma once
// The chat's goal tool: the list of the chat's goals and the short guided setup of a new one
// (objective, the service's clarifying questions, done). GUI thread only; a late answer after
// the tool was closed or destroyed is dropped.
#include "core/async/CancelToken.h"
#include "core/async/Clock.h"
#include "projects/model/GoalRecords.h"
#include "projects/service/GoalService.h"

#include <QDateTime>
#include <QObject>

#include <qcorotask.h>

#include <optional>

namespace halvex {

struct GoalToolMode {
    enum class Kind { list, create, question, done };
    Kind kind = Kind::list;
    QString text; // the question, or the started goal's objective
    int step = 0;
    int total = 0;
    QStringList options;

    static GoalToolMode list() { return {}; }
    static GoalToolMode create() { return {Kind::create, {}, 0, 0, {}}; }
    static GoalToolMode question(QString text, int step, int total, QStringList options)
    {
        return {Kind::question, std::move(text), step, total, std::move(options)};
    }
    static GoalToolMode done(QString objective) { return {Kind::done, std::move(objective), 0, 0, {}}; }
    bool operator==(const GoalToolMode&) const = default;
};

class ChatGoalToolModel : public QObject {
    Q_OBJECT
public:
    static constexpr int listLimit = 50;

    ChatGoalToolModel(GoalScope scope, APIClient& api, Clock& clock, QObject* parent = nullptr);

    const GoalScope& scope() const { return m_scope; }
    const QList<GoalToolRow>& rows() const { return m_rows; }
    bool loaded() const { return m_loaded; }
    const GoalToolMode& mode() const { return m_mode; }
    QString objectiveDraft() const { return m_objectiveDraft; }
    void setObjectiveDraft(const QString& text);
    QString answerDraft() const { return m_answerDraft; }
    void setAnswerDraft(const QString& text);
    bool busy() const { return m_busy; }
    const std::optional<QString>& notice() const { return m_notice; }
    const std::optional<QString>& error() const { return m_error; }
    const std::optional<QDateTime>& flowStartedAt() const { return m_flowStartedAt; }
    const std::optional<QDateTime>& busyStartedAt() const { return m_busyStartedAt; }
    const std::optional<QString>& requestId() const { return m_requestId; }

    QCoro::Task<void> refresh();
    void startCreate(std::optional<QString> prefill = std::nullopt);
    QCoro::Task<void> submitObjective();
    QCoro::Task<void> submitAnswer();
    QCoro::Task<void> retry();
    // Back to the list; whatever was in flight is dropped.
    void close();

Q_SIGNALS:
    void changed();

private:
    enum class Step { start, answer, resume };
    QCoro::Task<void> runStep(Step step, QString text);
    void apply(const GoalAutoStartResponse& answer);

    GoalScope m_scope;
    Clock& m_clock;
    GoalService m_goals;
    QList<GoalToolRow> m_rows;
    bool m_loaded = false;
    GoalToolMode m_mode;
    QString m_objectiveDraft;
    QString m_answerDraft;
    bool m_busy = false;
    std::optional<QString> m_notice;
    std::optional<QString> m_error;
    std::optional<QDateTime> m_flowStartedAt;
    std::optional<QDateTime> m_busyStartedAt;
    std::optional<QString> m_requestId;
    TaskScope m_work;
};

} // namespace halvex
