#pragma once
// The create flow: the user describes an employee or a team, answers a few clarify questions,
// reviews the draft and hires it. All state of the flow lives here; generation runs as a job on
// the service that this model polls. A newer generation wins over an older one, and stopping
// (closing the screen) cancels the poll and drops every late result.
#include "core/async/Clock.h"
#include "core/async/LatestOnly.h"
#include "create/model/ClarifyRounds.h"
#include "create/service/CreateAgentService.h"

#include <QDateTime>
#include <QObject>

#include <qcorotask.h>

namespace halvex {

class AppNotifications;

class CreateAgentViewModel : public QObject {
    Q_OBJECT
public:
    using Step = CreateFlowStep;

    CreateAgentViewModel(APIClient& api, Clock& clock, AppNotifications& notifications, QObject* parent = nullptr);
    CreateAgentViewModel(CreateAgentService service, Clock& clock, AppNotifications& notifications,
                         QObject* parent = nullptr);
    ~CreateAgentViewModel() override;

    // Inputs the screen edits.
    CreateKind kind = CreateKind::solo;
    QString mode = QStringLiteral("employee"); // "employee" or "worker"
    QString brief;
    std::optional<QString> projectSlug;
    std::optional<QString> brainModelId;
    std::optional<QString> builderModelId;
    bool autoBuild = false;
    QString editedName;
    QString editedTeamName;
    QString triggerType = QStringLiteral("manual");
    int intervalMinutes = 60;
    QMap<QString, QStringList> choices;   // selected option values per question id
    QMap<QString, QString> customAnswers; // typed answer per question id

    Step step() const { return m_step; }
    bool inProgress() const;
    bool creating() const { return m_creating; }
    QString statusNote() const { return m_statusNote; }
    const std::optional<QString>& error() const { return m_error; }
    const std::optional<AgentDraft>& draft() const { return m_draft; }
    const std::optional<TeamDraft>& teamDraft() const { return m_teamDraft; }
    const std::optional<QString>& createdId() const { return m_createdId; }
    const std::optional<QString>& createdTeamSlug() const { return m_createdTeamSlug; }
    int round() const { return m_round; }
    const QList<ClarifyQuestion>& clarifyQuestions() const { return m_clarifyQuestions; }
    int questionGroup() const { return m_questionGroup; }
    const QList<ClarificationAnswer>& clarifications() const { return m_clarifications; }
    const QList<ClarificationAnswer>& defaultClarifications() const { return m_defaultClarifications; }
    const std::optional<QDateTime>& generationStartedAt() const { return m_generationStartedAt; }

    QList<QList<ClarifyQuestion>> clarifyGroups() const { return ClarifyRounds::pages(m_clarifyQuestions); }
    QList<ClarifyQuestion> currentGroupQuestions() const;
    QString clarifyGroupTitle() const;
    QString clarifyGroupSubtitle() const;
    QString agentName() const;
    QString finalName() const;
    QString finalTeamLabel() const;
    QList<CreateFlowStageStatus> progress() const;
    // The answers of this round's questions that have one.
    QList<ClarificationAnswer> collectAnswers() const;

    QCoro::Task<void> generate(bool forceReady = false);
    QCoro::Task<void> clarifyContinue();
    QCoro::Task<void> clarifySkip();
    void clarifyBack();
    void backToDescribe();
    QCoro::Task<void> create();
    QCoro::Task<void> createTeam();
    void reset();
    // Closing the screen: the running generation or poll stops; its late answers are dropped.
    void stop();

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    QCoro::Task<void> generateSolo(QString brief, QList<ClarificationAnswer> answers, bool forceReady,
                                   CancelToken token);
    QCoro::Task<void> generateTeam(QString brief, QList<ClarificationAnswer> answers, bool forceReady,
                                   CancelToken token);
    QCoro::Task<void> handleSolo(std::optional<AgentDraft> draft);
    QCoro::Task<void> handleTeam(std::optional<TeamDraft> draft);
    QCoro::Task<void> applyQuestions(QList<ClarifyQuestion> questions);
    void failGeneration(const std::exception_ptr& error);
    // A hire the service refused: back to the review with the reason.
    void failHire(const std::exception& error, const QString& fallback);
    void setError(std::optional<QString> text);
    void setStep(Step step);

    CreateAgentService m_service;
    Clock& m_clock;
    AppNotifications& m_notifications;
    LatestOnly m_generation;
    TaskScope m_scope;

    Step m_step = Step::describe;
    bool m_creating = false;
    QString m_statusNote;
    std::optional<QString> m_error;
    std::optional<AgentDraft> m_draft;
    std::optional<TeamDraft> m_teamDraft;
    std::optional<QString> m_createdId;
    std::optional<QString> m_createdTeamSlug;
    int m_round = 1;
    QList<ClarifyQuestion> m_clarifyQuestions;
    int m_questionGroup = 0;
    QList<ClarificationAnswer> m_clarifications;
    QList<ClarificationAnswer> m_defaultClarifications;
    std::optional<QDateTime> m_generationStartedAt;
};

} // namespace halvex
