#pragma once
// The worker builder: a description drafted into a pipeline by the service, reviewed and
// edited (steps added, retyped, moved, removed, or revised by the service with undo), then
// committed: saved as a draft, checked with a dry run, activated, scheduled and optionally
// published. The same model edits an existing worker, starting at the review.
#include "agents/service/AgentService.h"
#include "core/async/Clock.h"
#include "core/async/LatestOnly.h"
#include "workers/model/WorkerReviewSnapshot.h"
#include "workers/model/WorkerStepDraft.h"
#include "workers/service/WorkerBuildService.h"
#include "workers/service/WorkflowMarketplaceService.h"

#include <QObject>

namespace halvex {

enum class WorkerBuilderStage { prompt, building, review, committing };

class WorkerBuilderModel : public QObject {
    Q_OBJECT
public:
    static constexpr int minimumDescription = 10;

    // `editingId`: the worker to edit; absent to build a new one.
    WorkerBuilderModel(APIClient& api, Clock& clock, std::optional<QString> editingId = std::nullopt,
                       QObject* parent = nullptr);
    ~WorkerBuilderModel() override;

    const std::optional<QString>& editingId() const { return m_editingId; }
    WorkerBuilderStage stage() const { return m_stage; }
    const QString& commitLabel() const { return m_commitLabel; } // while committing
    const QString& name() const { return m_name; }
    const QList<WorkerStepDraft>& steps() const { return m_steps; }
    const std::optional<QString>& error() const { return m_error; }
    bool isBusy() const { return m_busy; }
    bool isRevising() const { return m_revising; }
    const std::optional<QDateTime>& stageStartedAt() const { return m_stageStartedAt; }
    const JSONObject& rawDraft() const { return m_rawDraft; }
    const std::optional<QString>& buildJobId() const { return m_buildJobId; }
    bool marketplaceAvailable() const { return m_marketplaceAvailable; }
    bool marketplaceWasAvailable() const { return m_marketplaceWasAvailable; }
    bool marketplaceLocked() const { return m_marketplaceLocked; }
    bool canUndoRevision() const { return m_revisionBackup.has_value(); }

    QString promptDraft;
    QString reviseDraft;
    void setName(const QString& name);
    void setMarketplaceAvailable(bool on);

    WorkerReviewSnapshot reviewSnapshot() const;
    std::optional<int> revisionStepIndex() const;
    QString revisionTargetLabel() const;

    QCoro::Task<void> startBuild();
    QCoro::Task<void> reviseWithAI();
    void undoRevision();
    void selectRevisionStep(std::optional<int> index);
    void cancelBuild();
    QCoro::Task<void> loadForEdit();
    QCoro::Task<void> commit();

    void setType(int index, const QString& type);
    // Sets one text field of a step by its name ("name", "prompt", "url", "instructions",
    // "toolId", "argsJSON").
    void setStepField(int index, const QString& field, const QString& value);
    void addLlmStep();
    void move(int index, bool up);
    void remove(int index);

Q_SIGNALS:
    void changed();
    // Committed: the worker's id and the message to show.
    void finished(const QString& workerId, const QString& message);
    void unauthorized();

private:
    struct RevisionBackup {
        QString name;
        QList<WorkerStepDraft> steps;
        JSONObject rawDraft;
        std::optional<QUuid> targetStepId;
    };

    QCoro::Task<JSONObject> draftFrom(WorkerDraftAnswer answer, CancelToken token);
    QCoro::Task<QString> saveAndActivate(JSONArray playbook, CancelToken token);
    void applyDraft(const JSONObject& draft);
    // Shows a message that stops an operation before it sends anything.
    void refuse(const QString& message);
    // The edited steps as playbook JSON; absent (and the error shown) when a step's arguments
    // are not a JSON object.
    std::optional<JSONArray> editedPlaybook();
    void setCommitLabel(const QString& label);
    // Shows a failure unless it was a cancellation; false when nothing should be shown.
    bool showFailure(const std::exception_ptr& error, const QString& suffix = {});
    bool validIndex(int index) const { return index >= 0 && index < m_steps.size(); }

    WorkerBuildService m_build;
    AgentService m_agents;
    WorkflowMarketplaceService m_marketplace;
    Clock& m_clock;
    LatestOnly m_work;
    std::optional<QString> m_editingId;
    WorkerBuilderStage m_stage = WorkerBuilderStage::prompt;
    QString m_commitLabel;
    QString m_name;
    QList<WorkerStepDraft> m_steps;
    std::optional<QString> m_error;
    bool m_busy = false;
    bool m_revising = false;
    std::optional<QDateTime> m_stageStartedAt;
    bool m_marketplaceAvailable = false;
    bool m_marketplaceWasAvailable = false;
    bool m_marketplaceLocked = false;
    std::optional<QUuid> m_revisionStepId;
    std::optional<RevisionBackup> m_revisionBackup;
    JSONObject m_rawDraft;
    std::optional<QString> m_buildJobId;
};

} // namespace halvex
