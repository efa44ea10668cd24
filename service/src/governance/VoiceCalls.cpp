#include "governance/VoiceCalls.h"

#include "core/Crypto.h"

namespace service {

std::string insertCall(Service& s, long long uid, const NewCall& call)
{
    const std::string id = "call-" + randomHex(8);
    const SqlValue ended = call.durationSecs ? SqlValue(call.startedAt + *call.durationSecs) : SqlValue(nullptr);
    const SqlValue duration = call.durationSecs ? SqlValue(*call.durationSecs) : SqlValue(nullptr);
    s.db->execute("INSERT INTO voice_calls (id, user_id, agent_id, status, title, snippet, started_at, ended_at, "
                  "duration_secs) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  {id, uid, call.agentId, call.status, call.title, call.snippet, call.startedAt, ended, duration});
    return id;
}

} // namespace service
