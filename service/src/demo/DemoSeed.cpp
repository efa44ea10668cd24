#include "demo/DemoSeed.h"

#include "agents/AgentJson.h"
#include "auth/Sessions.h"
#include "core/Http.h"

namespace service {

using nlohmann::json;

void seedDemo(Service& s)
{
    if (!s.db->query("SELECT id FROM users WHERE email = ?", {std::string(kDemoEmail)}).empty())
        return;
    const std::string hash = hashPassword(s, kDemoPassword);
    s.db->transaction([&] {
        const long long uid = s.db->execute("INSERT INTO users (email, password_hash, full_name) VALUES (?, ?, ?)",
                                            {std::string(kDemoEmail), hash, std::string("Demo User")});
        const json agents[] = {
            agentJson("a-writer-growth", "writer-growth", "Growth"),
            agentJson("a-analyst-growth", "analyst-growth", "Growth"),
            agentJson("a-researcher", "Researcher", "Favourites"),
            agentJson("a-support", "Support Desk", "Favourites"),
            agentJson("a-worker", "Nightly Worker", "", "worker"),
            agentJson("a-model-chat", "Model chat", "", "employee", "model_chat"),
            agentJson("a-orchestrator-growth", "Growth lead", "Growth", "employee", "", true),
        };
        long long pos = 0;
        for (const auto& a : agents)
            s.db->execute("INSERT INTO agents (id, user_id, position, json) VALUES (?, ?, ?, ?)",
                          {a["id"].get<std::string>(), uid, pos++, a.dump()});
        s.db->execute("INSERT INTO messages (agent_id, role, content, created_at, read) VALUES (?, 'user', ?, ?, 1)",
                      {std::string("a-researcher"), std::string("Find three competitors."), nowIso()});
        s.db->execute(
            "INSERT INTO messages (agent_id, role, content, created_at, read) VALUES (?, 'assistant', ?, ?, 0)",
            {std::string("a-researcher"), std::string("Got it — here are three."), nowIso()});
        s.db->execute(
            "INSERT INTO messages (agent_id, role, content, created_at, read) VALUES (?, 'assistant', ?, ?, 0)",
            {std::string("a-writer-growth"), std::string("Draft ready."), nowIso()});
        seedChats(s, uid);
        seedTeamsAndProjects(s, uid);
        seedWorkers(s, uid);
        seedGovernance(s, uid);
        seedWallet(s, uid);
    });
}

} // namespace service
