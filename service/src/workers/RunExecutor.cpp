#include "workers/RunExecutor.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "billing/Charges.h"
#include "chat/MessageStore.h"
#include "chat/TurnRunner.h"
#include "google/ServiceClock.h"
#include "workers/RunStore.h"
#include "workers/StepPlay.h"
#include "workers/WorkerClock.h"

namespace service {

using namespace workers;
using nlohmann::json;

namespace {

constexpr const char* kCancelled = "The run was cancelled.";
constexpr const char* kStopped = "The service stopped during this run.";

// One run's state as it plays: the stored record it writes back and the chat step shown now.
class RunPlayer {
public:
    RunPlayer(Service& s, WorkerRuntime& runtime, WorkerRuntime::Live& live, StoredRun run, json agent)
        : m_s(s),
          m_runtime(runtime),
          m_live(live),
          m_run(std::move(run)),
          m_agent(std::move(agent))
    {
        m_progress.id = live.runId;
        m_progress.status = "running";
        m_playbook = m_agent.value("playbook", json::array());
        if (!m_playbook.is_array())
            m_playbook = json::array();
        m_progress.steps = plannedSteps(m_playbook);
    }

    void play()
    {
        if (!claimRun(m_s, m_progress.id, serviceIso(m_s)))
            return;
        bool played = true;
        for (size_t i = 0; i < m_playbook.size() && played; ++i)
            played = playStepAt(i);
        if (played)
            finishWithResult();
        settle();
    }

private:
    // The run's hold is released and what it did is charged: each finished step costs the same.
    void settle()
    {
        long long done = 0;
        for (const json& step : m_progress.steps)
            if (step.is_object() && step.value("status", "") == "done")
                ++done;
        billing::settleRun(m_s, m_run.userId, m_progress.id, double(done) * billing::kRunStepUsd,
                           textOf(m_agent, "name"));
    }

    json stepMeta(const Step& step, size_t index, const char* status, const char* kind) const
    {
        return {{"work_kind", "worker_run"}, {"work_id", m_progress.id},
                {"run_id", m_progress.id},   {"worker_id", m_run.agentId},
                {"tool", stepTool(step)},    {"step_index", index},
                {"step_name", step.name},    {"step_type", step.type},
                {"status", status},          {"kind", kind}};
    }

    void show(const std::string& chatKey, const NewMessage& message)
    {
        publishMessage(m_s, chatKey, insertMessage(*m_s.db, chatKey, message), true);
    }

    void updateOpenStep(const std::string& text, const json& meta)
    {
        if (!m_progress.openMessageId)
            return;
        if (const auto stored = updateMessage(*m_s.db, *m_progress.openMessageId, text, meta))
            publishMessage(m_s, m_run.agentId, *stored, false);
        m_progress.openMessageId.reset();
    }

    // False when the run ended at this step.
    bool playStepAt(size_t i)
    {
        const Step step = readStep(m_playbook[i]);
        NewMessage running{"step", runningText(step), stepMeta(step, i, "running", "tool_call")};
        const json stored = insertMessage(*m_s.db, m_run.agentId, running);
        publishMessage(m_s, m_run.agentId, stored, true);
        m_progress.openMessageId = stored.value("id", 0LL);
        m_progress.steps[i]["status"] = "running";
        saveProgress(m_s, m_progress);

        const auto stop = m_runtime.waitUntil(m_live, serviceNow(m_s) + m_s.opt.runStepSeconds);
        if (stop != WorkerRuntime::Stop::none) {
            end(step, i, stop == WorkerRuntime::Stop::cancelled ? "cancelled" : "error",
                stop == WorkerRuntime::Stop::cancelled ? kCancelled : kStopped);
            return false;
        }
        const StepResult result = playStep(step, i, m_run.input);
        if (!result.ok) {
            end(step, i, "error", result.error);
            return false;
        }
        updateOpenStep(result.doneText, stepMeta(step, i, "done", "tool_done"));
        m_progress.steps[i]["status"] = "done";
        m_progress.steps[i]["output"] = result.output;
        saveProgress(m_s, m_progress);
        return true;
    }

    // The run stops at step i: the step shown failed, the run's status and error stored.
    void end(const Step& step, size_t i, const std::string& status, const std::string& why)
    {
        json meta = stepMeta(step, i, "failed", "tool_error");
        meta["error"] = why;
        if (status == "cancelled")
            meta["cancelled"] = true;
        updateOpenStep(why, meta);
        m_progress.steps[i]["output"] = why;
        m_progress.steps = closedSteps(m_progress.steps, status == "cancelled" ? "cancelled" : "failed");
        m_progress.status = status;
        if (status != "cancelled")
            m_progress.error = why;
        m_progress.finishedAt = serviceIso(m_s);
        saveProgress(m_s, m_progress);
    }

    void finishWithResult()
    {
        const std::string name = textOf(m_agent, "name");
        const std::string result = resultSummary(name, m_progress.steps);
        json meta{{"work_kind", "worker_run"},
                  {"work_id", m_progress.id},
                  {"run_id", m_progress.id},
                  {"worker_id", m_run.agentId},
                  {"worker_name", name}};
        show(m_run.agentId, {"assistant", result, meta});
        // The employee may have been deleted while the run played.
        if (m_run.deliveryAgentId && *m_run.deliveryAgentId != m_run.agentId
            && findAgent(m_s, m_run.userId, *m_run.deliveryAgentId))
            show(*m_run.deliveryAgentId, {"assistant", result, meta});
        m_progress.status = "success";
        m_progress.result = result;
        m_progress.finishedAt = serviceIso(m_s);
        saveProgress(m_s, m_progress);
    }

    Service& m_s;
    WorkerRuntime& m_runtime;
    WorkerRuntime::Live& m_live;
    StoredRun m_run;
    json m_agent;
    json m_playbook;
    RunProgress m_progress;
};

} // namespace

void executeRun(Service& s, WorkerRuntime& runtime, WorkerRuntime::Live& live)
{
    auto run = storedRun(s, live.runId);
    if (!run)
        return;
    auto agent = findAgent(s, run->userId, run->agentId);
    if (!agent)
        return abandonRun(s, live.runId);
    RunPlayer(s, runtime, live, std::move(*run), std::move(*agent)).play();
}

void abandonRun(Service& s, const std::string& runId)
{
    s.db->execute("UPDATE workflow_runs SET status = 'error', error_message = ?, finished_at = ? WHERE id = ? AND "
                  "status IN ('queued', 'running')",
                  {std::string(kStopped), serviceIso(s), runId});
}

} // namespace service
