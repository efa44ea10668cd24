#include "workers/viewmodel/WorkerBuilderModel.h"

#include "core/async/Failure.h"
#include "core/format/Characters.h"
#include "workers/model/WorkerPayload.h"
#include "workers/service/WorkerJobPoller.h"

namespace halvex {

WorkerBuilderModel::WorkerBuilderModel(APIClient& api, Clock& clock, std::optional<QString> editingId, QObject* parent)
    : QObject(parent),
      m_build(api),
      m_agents(api),
      m_marketplace(api),
      m_clock(clock),
      m_editingId(std::move(editingId))
{
    if (m_editingId)
        m_stage = WorkerBuilderStage::review;
}

// Closing the sheet mid-build leaves no job running on the service.
WorkerBuilderModel::~WorkerBuilderModel()
{
    if (m_buildJobId)
        cancelBuild();
    m_work.cancel();
}

void WorkerBuilderModel::setName(const QString& name)
{
    if (m_name == name)
        return;
    m_name = name;
    Q_EMIT changed();
}

void WorkerBuilderModel::setMarketplaceAvailable(bool on)
{
    if (m_marketplaceLocked || m_marketplaceAvailable == on)
        return;
    m_marketplaceAvailable = on;
    Q_EMIT changed();
}

WorkerReviewSnapshot WorkerBuilderModel::reviewSnapshot() const
{
    return WorkerReviewSnapshot::of(m_rawDraft, int(m_steps.size()));
}

std::optional<int> WorkerBuilderModel::revisionStepIndex() const
{
    if (!m_revisionStepId)
        return std::nullopt;
    for (int i = 0; i < m_steps.size(); ++i)
        if (m_steps[i].id == *m_revisionStepId)
            return i;
    return std::nullopt;
}

QString WorkerBuilderModel::revisionTargetLabel() const
{
    const auto index = revisionStepIndex();
    return index ? QStringLiteral("Step ") + QString::number(*index + 1) : QStringLiteral("Entire workflow");
}

void WorkerBuilderModel::selectRevisionStep(std::optional<int> index)
{
    m_revisionStepId = index && validIndex(*index) ? std::optional<QUuid>(m_steps[*index].id) : std::nullopt;
    Q_EMIT changed();
}

bool WorkerBuilderModel::showFailure(const std::exception_ptr& error, const QString& suffix)
{
    const Failure failure = Failure::of(error);
    switch (failure.route) {
    case Failure::Route::silent:
        return false;
    case Failure::Route::lostSession:
        Q_EMIT unauthorized();
        return false;
    case Failure::Route::show:
        break;
    }
    m_error = failure.text + suffix;
    return true;
}

void WorkerBuilderModel::refuse(const QString& message)
{
    m_error = message;
    Q_EMIT changed();
}

std::optional<JSONArray> WorkerBuilderModel::editedPlaybook()
{
    try {
        return WorkerPayload::playbook(m_steps);
    } catch (const WorkerBuilderError& e) {
        refuse(e.description());
        return std::nullopt;
    }
}

void WorkerBuilderModel::applyDraft(const JSONObject& draft)
{
    m_rawDraft = draft;
    const QString name = draft.value(QStringLiteral("name")).stringValue().value_or(QString()).trimmed();
    m_name = name.isEmpty() ? QStringLiteral("Untitled worker") : name;
    m_steps = stepsOf(draft);
}

QCoro::Task<JSONObject> WorkerBuilderModel::draftFrom(WorkerDraftAnswer answer, CancelToken token)
{
    if (answer.draft)
        co_return *answer.draft;
    const QString jobId = answer.jobId;
    m_buildJobId = jobId;
    Q_EMIT changed();
    auto stillCurrent = [this, jobId] { return m_buildJobId == jobId; };
    QCoro::Task<JSONObject> waiting = WorkerJobPoller::waitForJob(m_build, m_clock, jobId, stillCurrent, token);
    co_return co_await std::move(waiting);
}

QCoro::Task<void> WorkerBuilderModel::startBuild()
{
    if (m_busy)
        co_return;
    const QString description = promptDraft.trimmed();
    if (characterCount(description) < minimumDescription) {
        refuse(QStringLiteral("Describe the worker in at least 10 characters."));
        co_return;
    }
    const CancelToken token = m_work.next();
    m_error.reset();
    m_stage = WorkerBuilderStage::building;
    m_stageStartedAt = m_clock.now();
    m_busy = true;
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        WorkerDraftAnswer answer = co_await m_build.draft(description, token);
        if (token.isCancelled())
            co_return;
        QCoro::Task<JSONObject> drafting = draftFrom(std::move(answer), token);
        const JSONObject draft = co_await std::move(drafting);
        if (token.isCancelled())
            co_return;
        applyDraft(draft);
        m_stage = WorkerBuilderStage::review;
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return; // cancelled, superseded or gone: whoever did that set the state
    if (failed) {
        showFailure(failed);
        m_stage = WorkerBuilderStage::prompt;
    }
    m_busy = false;
    m_buildJobId.reset();
    m_stageStartedAt.reset();
    Q_EMIT changed();
}

QCoro::Task<void> WorkerBuilderModel::reviseWithAI()
{
    if (m_busy)
        co_return;
    const QString instruction = reviseDraft.trimmed();
    if (instruction.isEmpty()) {
        refuse(QStringLiteral("Describe the change in a few words."));
        co_return;
    }
    const std::optional<JSONArray> edited = editedPlaybook();
    if (!edited)
        co_return;
    const JSONArray& playbook = *edited;
    const std::optional<int> target = revisionStepIndex();
    const RevisionBackup backup{m_name, m_steps, m_rawDraft, m_revisionStepId};
    const CancelToken token = m_work.next();
    m_error.reset();
    m_revising = m_busy = true;
    m_stage = WorkerBuilderStage::building;
    m_stageStartedAt = m_clock.now();
    Q_EMIT changed();
    const JSONObject current = WorkerPayload::draftToRevise(m_rawDraft, m_name, playbook);
    const QString scoped = WorkerPayload::scopedInstruction(instruction, target);
    std::exception_ptr failed;
    try {
        WorkerDraftAnswer answer = co_await m_build.revise(current, scoped, m_editingId, token);
        if (token.isCancelled())
            co_return;
        QCoro::Task<JSONObject> drafting = draftFrom(std::move(answer), token);
        const JSONObject revised = co_await std::move(drafting);
        if (token.isCancelled())
            co_return;
        applyDraft(WorkerPayload::withNormalizedTrigger(revised));
        m_revisionBackup = backup;
        // The same position stays targeted, so a second instruction refines the same step.
        m_revisionStepId
            = target && *target < m_steps.size() ? std::optional<QUuid>(m_steps[*target].id) : std::nullopt;
        reviseDraft.clear();
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed)
        showFailure(failed);
    m_revising = m_busy = false;
    m_stage = WorkerBuilderStage::review;
    m_buildJobId.reset();
    m_stageStartedAt.reset();
    Q_EMIT changed();
}

void WorkerBuilderModel::undoRevision()
{
    if (!m_revisionBackup || m_busy)
        return;
    m_name = m_revisionBackup->name;
    m_steps = m_revisionBackup->steps;
    m_rawDraft = m_revisionBackup->rawDraft;
    m_revisionStepId = m_revisionBackup->targetStepId;
    m_revisionBackup.reset();
    m_error.reset();
    Q_EMIT changed();
}

void WorkerBuilderModel::cancelBuild()
{
    if (m_stage != WorkerBuilderStage::building)
        return;
    if (m_buildJobId) {
        // Best effort: the job is abandoned here whatever the service answers.
        QCoro::Task<void> aborting = m_build.abort(*m_buildJobId);
        Q_UNUSED(aborting);
    }
    m_work.cancel();
    m_buildJobId.reset();
    m_stageStartedAt.reset();
    m_busy = false;
    m_stage = m_revising || m_editingId ? WorkerBuilderStage::review : WorkerBuilderStage::prompt;
    m_revising = false;
    Q_EMIT changed();
}

QCoro::Task<void> WorkerBuilderModel::loadForEdit()
{
    if (!m_editingId || m_busy)
        co_return;
    const CancelToken token = m_work.next();
    m_busy = true;
    m_error.reset();
    Q_EMIT changed();
    std::exception_ptr failed;
    try {
        const JSONObject record = co_await m_agents.rawDetail(*m_editingId, token);
        if (token.isCancelled())
            co_return;
        const JSONValue playbook = record.value(QStringLiteral("playbook"));
        if (!playbook.isArray() || playbook.toArray().isEmpty()) {
            m_error = QStringLiteral("This worker has no editable pipeline.");
        } else {
            applyDraft(record);
            m_marketplaceWasAvailable
                = record.value(QStringLiteral("workflow_marketplace_enabled")).boolValue().value_or(false);
            m_marketplaceAvailable = m_marketplaceWasAvailable;
            for (const char* key : {"workflow_marketplace_source_id", "cloned_from_agent_id"})
                if (!record.value(QString::fromUtf8(key)).stringValue().value_or(QString()).isEmpty())
                    m_marketplaceLocked = true;
        }
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    if (failed)
        showFailure(failed);
    m_busy = false;
    m_stage = WorkerBuilderStage::review;
    Q_EMIT changed();
}

void WorkerBuilderModel::setCommitLabel(const QString& label)
{
    m_stage = WorkerBuilderStage::committing;
    m_commitLabel = label;
    m_stageStartedAt = m_clock.now();
    Q_EMIT changed();
}

QCoro::Task<QString> WorkerBuilderModel::saveAndActivate(JSONArray playbook, CancelToken token)
{
    setCommitLabel(QStringLiteral("Saving the pipeline"));
    const JSONObject payload = WorkerPayload::build(m_rawDraft, m_name, playbook, QStringLiteral("draft"));
    QString id = m_editingId.value_or(QString());
    if (m_editingId) {
        co_await m_agents.patch(id, payload, token);
    } else {
        id = co_await m_build.create(payload, token);
        if (id.isEmpty())
            throw WorkerBuilderError(QStringLiteral("Worker save did not return an id."));
    }
    setCommitLabel(QStringLiteral("Dry-run check"));
    const DryRunResult check = co_await m_build.dryRun(id, token);
    if (!check.passed)
        throw WorkerBuilderError(
            check.error.value_or(QStringLiteral("The pipeline check did not pass. Refine it and try again.")));
    setCommitLabel(QStringLiteral("Activating"));
    const JSONObject active{{QStringLiteral("status"), QStringLiteral("active")}};
    co_await m_agents.patch(id, active, token);
    const QString trigger = WorkerPayload::triggerType(m_rawDraft);
    if (trigger != u"manual") {
        setCommitLabel(QStringLiteral("Scheduling"));
        co_await m_build.deploy(id, trigger, token);
    }
    co_return id;
}

QCoro::Task<void> WorkerBuilderModel::commit()
{
    if (m_busy)
        co_return;
    const QString name = m_name.trimmed();
    if (name.isEmpty() || m_steps.isEmpty()) {
        refuse(QStringLiteral("The worker needs a name and at least one step."));
        co_return;
    }
    const std::optional<JSONArray> edited = editedPlaybook();
    if (!edited)
        co_return;
    const JSONArray& playbook = *edited;
    const CancelToken token = m_work.next();
    const bool publish = m_marketplaceAvailable && !m_marketplaceLocked;
    m_busy = true;
    m_error.reset();
    bool saving = false;
    std::exception_ptr failed;
    QString id;
    try {
        if (m_editingId && m_marketplaceWasAvailable && !publish) {
            setCommitLabel(QStringLiteral("Removing the current Marketplace version"));
            co_await m_marketplace.setAvailable(false, *m_editingId, token);
            m_marketplaceWasAvailable = false;
        }
        saving = true;
        QCoro::Task<QString> saved = saveAndActivate(playbook, token);
        id = co_await std::move(saved);
        if (publish) {
            setCommitLabel(QStringLiteral("Publishing to Marketplace"));
            co_await m_marketplace.setAvailable(true, id, token);
        }
    } catch (...) {
        failed = std::current_exception();
    }
    if (token.isCancelled())
        co_return;
    m_busy = false;
    m_stageStartedAt.reset();
    if (failed) {
        showFailure(failed, saving && publish ? QStringLiteral(" The saved workflow remains private.") : QString());
        m_stage = WorkerBuilderStage::review;
        Q_EMIT changed();
        co_return;
    }
    m_commitLabel.clear();
    Q_EMIT changed();
    Q_EMIT finished(id,
                    publish ? name + QStringLiteral(" is ready and available in the Marketplace.")
                            : name + QStringLiteral(" is ready to run."));
}

void WorkerBuilderModel::setType(int index, const QString& type)
{
    if (!validIndex(index) || m_busy)
        return;
    WorkerStepDraft& step = m_steps[index];
    step.type = type;
    step.name = WorkerStepDraft::defaultName(type);
    Q_EMIT changed();
}

void WorkerBuilderModel::setStepField(int index, const QString& field, const QString& value)
{
    if (!validIndex(index))
        return;
    WorkerStepDraft& s = m_steps[index];
    QString* target = field == u"name" ? &s.name
        : field == u"prompt"           ? &s.prompt
        : field == u"url"              ? &s.url
        : field == u"instructions"     ? &s.instructions
        : field == u"toolId"           ? &s.toolId
        : field == u"argsJSON"         ? &s.argsJSON
                                       : nullptr;
    if (!target || *target == value)
        return;
    *target = value;
    Q_EMIT changed();
}

void WorkerBuilderModel::addLlmStep()
{
    if (m_busy)
        return;
    WorkerStepDraft step;
    step.name = WorkerStepDraft::defaultName(step.type);
    m_steps.append(step);
    Q_EMIT changed();
}

void WorkerBuilderModel::move(int index, bool up)
{
    const int other = up ? index - 1 : index + 1;
    if (!validIndex(index) || !validIndex(other) || m_busy)
        return;
    m_steps.swapItemsAt(index, other);
    Q_EMIT changed();
}

void WorkerBuilderModel::remove(int index)
{
    if (!validIndex(index) || m_busy)
        return;
    m_steps.removeAt(index);
    Q_EMIT changed();
}

} // namespace halvex
