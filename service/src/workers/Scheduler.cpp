#include "workers/Scheduler.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "core/JsonFields.h"
#include "google/ServiceClock.h"
#include "workers/RunStore.h"

namespace service::workers {

using nlohmann::json;

namespace {

std::optional<long long> minutesIn(const json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end())
        return std::nullopt;
    const auto minutes = wholeNumber(*it);
    return minutes && *minutes >= 1 && *minutes <= 525600 ? minutes : std::nullopt;
}

} // namespace

long long intervalOf(const json& agent)
{
    const auto trigger = agent.find("trigger");
    if (trigger != agent.end() && trigger->is_object())
        if (const auto minutes = minutesIn(*trigger, "intervalMinutes"))
            return *minutes;
    return minutesIn(agent, "schedule_interval_minutes").value_or(kDefaultIntervalMinutes);
}

long long scheduleWorker(Service& s, long long uid, const std::string& agentId, long long intervalMinutes)
{
    const long long next = serviceNow(s) + intervalMinutes * 60;
    s.db->execute("INSERT OR REPLACE INTO worker_schedules (agent_id, user_id, interval_minutes, next_run_at) "
                  "VALUES (?, ?, ?, ?)",
                  {agentId, uid, intervalMinutes, next});
    return next;
}

void unscheduleWorker(Service& s, const std::string& agentId)
{
    s.db->execute("DELETE FROM worker_schedules WHERE agent_id = ?", {agentId});
}

std::vector<std::pair<std::string, std::string>> startDueRuns(Service& s)
{
    std::vector<std::pair<std::string, std::string>> started;
    s.db->transaction([&] {
        const long long now = serviceNow(s);
        const auto due = s.db->query(
            "SELECT agent_id, user_id, interval_minutes, next_run_at FROM worker_schedules WHERE next_run_at <= ?",
            {now});
        for (const auto& row : due) {
            const std::string agentId = text(row[0]);
            const long long uid = integer(row[1]);
            const auto agent = findAgent(s, uid, agentId);
            if (!agent || textOf(*agent, "agent_type") != "worker") {
                unscheduleWorker(s, agentId);
                continue;
            }
            const long long step = std::max(1LL, integer(row[2])) * 60;
            const long long next = integer(row[3]) + ((now - integer(row[3])) / step + 1) * step;
            s.db->execute("UPDATE worker_schedules SET next_run_at = ? WHERE agent_id = ?", {next, agentId});
            const json playbook = agent->value("playbook", json());
            if (textOf(*agent, "status") != "active" || hasLiveRun(s, agentId) || !playbook.is_array()
                || playbook.empty())
                continue;
            NewRun run;
            run.userId = uid;
            run.agentId = agentId;
            run.triggerType = "schedule";
            run.steps = plannedSteps(playbook);
            started.emplace_back(insertRun(s, run), agentId);
        }
    });
    return started;
}

} // namespace service::workers
