#include "workers/RunStore.h"

#include "chat/MessageStore.h"
#include "core/Crypto.h"
#include "core/SqlValues.h"
#include "workers/Playbook.h"
#include "workers/WorkerClock.h"

namespace service::workers {

using nlohmann::json;

namespace {

constexpr const char* kColumns = "id, agent_id, status, trigger_type, steps, result, error_message, created_at, "
                                 "started_at, finished_at, input, delivery_agent_id, conversation_id";

json textOrNull(const SqlValue& v) { return isNull(v) ? json(nullptr) : json(text(v)); }

json runJson(const SqlRow& r)
{
    json steps = json::parse(text(r[4]), nullptr, false);
    return {{"id", text(r[0])},
            {"custom_agent_id", text(r[1])},
            {"status", text(r[2])},
            {"trigger_type", text(r[3])},
            {"steps", steps.is_array() ? steps : json::array()},
            {"result", textOrNull(r[5])},
            {"error_message", textOrNull(r[6])},
            {"created_at", text(r[7])},
            {"started_at", textOrNull(r[8])},
            {"finished_at", textOrNull(r[9])},
            {"input", textOrNull(r[10])},
            {"delivery_agent_id", textOrNull(r[11])},
            {"conversation_id", textOrNull(r[12])}};
}

SqlValue intOrNull(const std::optional<long long>& v) { return v ? SqlValue(*v) : SqlValue(nullptr); }

} // namespace

json plannedSteps(const json& playbook)
{
    json out = json::array();
    if (!playbook.is_array())
        return out;
    for (const auto& raw : playbook) {
        const Step step = readStep(raw);
        out.push_back({{"name", step.name}, {"type", step.type}, {"status", "pending"}, {"output", nullptr}});
    }
    return out;
}

std::string insertRun(Service& s, const NewRun& run)
{
    const std::string id = "run-" + randomHex(8);
    s.db->execute("INSERT INTO workflow_runs (id, user_id, agent_id, status, trigger_type, input, delivery_agent_id, "
                  "conversation_id, steps, created_at) VALUES (?, ?, ?, 'queued', ?, ?, ?, ?, ?, ?)",
                  {id, run.userId, run.agentId, run.triggerType, orNull(run.input), orNull(run.deliveryAgentId),
                   orNull(run.conversationId), run.steps.dump(), serviceIso(s)});
    s.db->execute(
        "DELETE FROM workflow_runs WHERE agent_id = ? AND status NOT IN ('queued', 'running') AND rowid NOT IN "
        "(SELECT rowid FROM workflow_runs WHERE agent_id = ? ORDER BY rowid DESC LIMIT ?)",
        {run.agentId, run.agentId, kKeptRunsPerWorker});
    return id;
}

bool hasLiveRun(Service& s, const std::string& agentId)
{
    return !s.db->query("SELECT 1 FROM workflow_runs WHERE agent_id = ? AND status IN ('queued', 'running') LIMIT 1",
                        {agentId})
                .empty();
}

std::optional<StoredRun> storedRun(Service& s, const std::string& runId)
{
    const auto rows
        = s.db->query("SELECT user_id, agent_id, input, delivery_agent_id FROM workflow_runs WHERE id = ?", {runId});
    if (rows.empty())
        return std::nullopt;
    return StoredRun{integer(rows[0][0]), text(rows[0][1]), text(rows[0][2]), optionalText(rows[0][3])};
}

bool claimRun(Service& s, const std::string& runId, const std::string& startedAt)
{
    bool claimed = false;
    s.db->transaction([&] {
        const auto rows = s.db->query("SELECT status FROM workflow_runs WHERE id = ?", {runId});
        claimed = !rows.empty() && text(rows[0][0]) == "queued";
        if (claimed)
            s.db->execute("UPDATE workflow_runs SET status = 'running', started_at = ? WHERE id = ?",
                          {startedAt, runId});
    });
    return claimed;
}

bool cancelQueuedRun(Service& s, const std::string& runId)
{
    bool cancelled = false;
    s.db->transaction([&] {
        const auto rows = s.db->query("SELECT status, steps FROM workflow_runs WHERE id = ?", {runId});
        cancelled = !rows.empty() && text(rows[0][0]) == "queued";
        if (!cancelled)
            return;
        const json steps = json::parse(text(rows[0][1]), nullptr, false);
        s.db->execute(
            "UPDATE workflow_runs SET status = 'cancelled', steps = ?, finished_at = ? WHERE id = ?",
            {steps.is_array() ? closedSteps(steps, "cancelled").dump() : std::string("[]"), serviceIso(s), runId});
    });
    return cancelled;
}

void saveProgress(Service& s, const RunProgress& p)
{
    s.db->execute("UPDATE workflow_runs SET status = ?, steps = ?, result = ?, error_message = ?, open_message_id = ?, "
                  "started_at = coalesce(?, started_at), finished_at = coalesce(?, finished_at) WHERE id = ?",
                  {p.status, p.steps.dump(), orNull(p.result), orNull(p.error), intOrNull(p.openMessageId),
                   orNull(p.startedAt), orNull(p.finishedAt), p.id});
}

std::optional<json> findRun(Service& s, long long uid, const std::string& runId)
{
    const auto rows = s.db->query(
        std::string("SELECT ") + kColumns + " FROM workflow_runs WHERE id = ? AND user_id = ?", {runId, uid});
    if (rows.empty())
        return std::nullopt;
    return runJson(rows[0]);
}

json listRuns(Service& s, long long uid, const std::optional<std::string>& agentId, long long limit)
{
    std::string sql = std::string("SELECT ") + kColumns + " FROM workflow_runs WHERE user_id = ?";
    std::vector<SqlValue> params{uid};
    if (agentId) {
        sql += " AND agent_id = ?";
        params.emplace_back(*agentId);
    }
    sql += " ORDER BY rowid DESC LIMIT ?";
    params.emplace_back(limit);
    json runs = json::array();
    for (const auto& r : s.db->query(sql, params))
        runs.push_back(runJson(r));
    return runs;
}

void forgetWorker(Service& s, const std::string& agentId)
{
    for (const char* table : {"workflow_runs", "worker_schedules", "workflow_installs"})
        s.db->execute(std::string("DELETE FROM ") + table + " WHERE agent_id = ?", {agentId});
}

json closedSteps(json steps, const std::string& runningBecomes)
{
    for (auto& step : steps) {
        if (!step.is_object())
            continue;
        const std::string status = step.value("status", std::string());
        if (status == "running")
            step["status"] = runningBecomes;
        else if (status == "pending")
            step["status"] = "skipped";
    }
    return steps;
}

void closeInterruptedRuns(Service& s)
{
    const std::string why = "The service restarted during this run.";
    s.db->transaction([&] {
        const auto rows = s.db->query(
            "SELECT id, agent_id, open_message_id, steps FROM workflow_runs WHERE status IN ('queued', 'running')");
        for (const auto& r : rows) {
            if (const auto open = isNull(r[2]) ? std::nullopt : findMessage(*s.db, text(r[1]), integer(r[2]))) {
                json meta = open->value("metadata", json::object());
                meta["status"] = "failed";
                meta["kind"] = "tool_error";
                meta["error"] = why;
                updateMessage(*s.db, integer(r[2]), why, meta);
            }
            json steps = json::parse(text(r[3]), nullptr, false);
            s.db->execute("UPDATE workflow_runs SET status = 'error', error_message = ?, open_message_id = NULL, "
                          "steps = ?, finished_at = ? WHERE id = ?",
                          {why, steps.is_array() ? closedSteps(steps, "failed").dump() : std::string("[]"),
                           serviceIso(s), text(r[0])});
        }
    });
}

} // namespace service::workers
