#include "governance/VoiceCalls.h"

#include "core/Crypto.h"

namespace service {

std::string insertCall(Service& s, long long uid, const NewCall& call)
{
    const std::string id = "call-" + randomHex(8);
    // Two statements rather than a NULL-or-number value: GCC 12 misreads the optional copies.
    if (call.durationSecs)
        s.db->execute("INSERT INTO voice_calls (id, user_id, agent_id, status, title, snippet, started_at, ended_at, "
                      "duration_secs) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                      {id, uid, call.agentId, call.status, call.title, call.snippet, call.startedAt,
                       call.startedAt + *call.durationSecs, *call.durationSecs});
    else
        s.db->execute("INSERT INTO voice_calls (id, user_id, agent_id, status, title, snippet, started_at) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?)",
                      {id, uid, call.agentId, call.status, call.title, call.snippet, call.startedAt});
    return id;
}

} // namespace service
