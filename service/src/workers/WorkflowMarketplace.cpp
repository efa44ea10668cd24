#include "workers/WorkflowMarketplace.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "avatars/AvatarSvg.h"
#include "core/Crypto.h"
#include "core/Slug.h"
#include "workers/WorkflowCatalog.h"

#include <map>
#include <set>

namespace service::workers {

namespace {

WorkflowItem readyMade(const Workflow& w)
{
    return {w.id, w.name, w.description, w.role, w.creatorFullName, w.creatorHandle, w.baseInstalls, 0, w.playbook};
}

std::optional<WorkflowItem> published(const SqlRow& r)
{
    const json a = json::parse(text(r[2]), nullptr, false);
    if (!a.is_object() || !flagOf(a, "workflow_marketplace_enabled") || textOf(a, "agent_type") != "worker"
        || textOf(a, "status") == "archived")
        return std::nullopt;
    const std::string email = text(r[4]);
    const std::string handle = asciiSlug(email.substr(0, email.find('@')));
    const std::string fullName = trim(text(r[3]));
    return WorkflowItem{text(r[0]),
                        textOf(a, "name"),
                        textOf(a, "description"),
                        textOf(a, "role"),
                        fullName.empty() ? handle : fullName,
                        handle,
                        0,
                        integer(r[1]),
                        a.value("playbook", json::array())};
}

// The ready-made workflows, then published workers in the sidebar's order.
std::vector<WorkflowItem> allItems(Service& s)
{
    std::vector<WorkflowItem> items;
    for (const auto& w : workflowCatalog())
        items.push_back(readyMade(w));
    // The text match only narrows the scan; every candidate is parsed and checked.
    const auto rows = s.db->query("SELECT a.id, a.user_id, a.json, u.full_name, u.email FROM agents a JOIN users u "
                                  "ON u.id = a.user_id WHERE a.json LIKE '%\"workflow_marketplace_enabled\":true%' "
                                  "ORDER BY a.position");
    for (const auto& r : rows)
        if (auto item = published(r))
            items.push_back(std::move(*item));
    return items;
}

std::optional<WorkflowItem> findItem(Service& s, const std::string& id)
{
    if (const Workflow* w = findWorkflow(id))
        return readyMade(*w);
    for (auto& item : allItems(s))
        if (item.id == id)
            return item;
    return std::nullopt;
}

// The user's live copy of each item they added.
std::map<std::string, std::string> copiesOf(Service& s, long long uid)
{
    std::map<std::string, std::string> out;
    for (const auto& r : s.db->query("SELECT i.item_id, i.agent_id FROM workflow_installs i JOIN agents a ON a.id = "
                                     "i.agent_id WHERE i.user_id = ?",
                                     {uid}))
        out[text(r[0])] = text(r[1]);
    return out;
}

std::map<std::string, long long> installCounts(Service& s)
{
    std::map<std::string, long long> out;
    for (const auto& r : s.db->query("SELECT item_id, count(*) FROM workflow_installs GROUP BY item_id"))
        out[text(r[0])] = integer(r[1]);
    return out;
}

json copyOf(Service& s, const WorkflowItem& item)
{
    json a = agentJson("a-" + randomHex(8), item.name, "", "worker");
    a["description"] = item.description;
    a["role"] = item.role;
    a["avatar_url"] = avatarUrl(s.origin(), item.name);
    a["system_prompt"] = "You are " + item.name + ", a worker that runs its playbook step by step. " + item.description;
    a["playbook"] = item.playbook;
    json tools = json::array();
    std::set<std::string> seen;
    for (const auto& step : item.playbook)
        if (step.is_object() && step.contains("tool_id") && step["tool_id"].is_string()
            && seen.insert(step["tool_id"].get<std::string>()).second)
            tools.push_back(step["tool_id"]);
    a["tools"] = tools;
    a["trigger"] = {{"type", "manual"}};
    a["trigger_type"] = "manual";
    a["workflow_marketplace_source_id"] = item.id;
    return a;
}

} // namespace

json workflowPage(Service& s, long long uid, size_t offset)
{
    const auto items = allItems(s);
    const auto copies = copiesOf(s, uid);
    const auto installs = installCounts(s);
    json page = json::array();
    for (size_t i = offset; i < items.size() && i < offset + kWorkflowPageSize; ++i) {
        const WorkflowItem& item = items[i];
        const auto copy = copies.find(item.id);
        const auto added = installs.find(item.id);
        page.push_back({{"id", item.id},
                        {"name", item.name},
                        {"description", item.description},
                        {"role", item.role},
                        {"creator_full_name", item.creatorFullName},
                        {"creator_handle", item.creatorHandle},
                        {"installed_agent_id", copy == copies.end() ? json(nullptr) : json(copy->second)},
                        {"owned", item.ownerId == uid},
                        {"installs_count", item.baseInstalls + (added == installs.end() ? 0 : added->second)},
                        {"playbook_steps_count", item.playbook.is_array() ? item.playbook.size() : 0},
                        {"tools_count", toolsIn(item.playbook)}});
    }
    json answer{{"workflows", page}};
    if (offset + kWorkflowPageSize < items.size())
        answer["next_cursor"] = std::to_string(offset + kWorkflowPageSize);
    return answer;
}

InstallOutcome installWorkflow(Service& s, long long uid, const std::string& itemId)
{
    const auto item = findItem(s, itemId);
    if (!item)
        return {404, json{{"error", "Workflow not found"}}};
    const auto copies = copiesOf(s, uid);
    if (const auto copy = copies.find(itemId); copy != copies.end())
        return {409, json{{"error", "Already added"}, {"installed_agent_id", copy->second}}};
    const json agent = copyOf(s, *item);
    insertAgent(s, uid, agent);
    s.db->execute(
        "INSERT OR REPLACE INTO workflow_installs (user_id, item_id, agent_id, created_at) VALUES (?, ?, ?, ?)",
        {uid, itemId, textOf(agent, "id"), nowIso()});
    return {201, json{{"agent", agent}, {"id", textOf(agent, "id")}}};
}

} // namespace service::workers
