#include "governance/VoiceCalls.h"

#include "core/Crypto.h"

#include <algorithm>

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

CallEnd endCall(Service& s, long long uid, const std::string& callId, long long endedAt, const std::string& snippet)
{
    CallEnd result = CallEnd::notFound;
    s.db->transaction([&] {
        const auto rows
            = s.db->query("SELECT status, started_at FROM voice_calls WHERE id = ? AND user_id = ?", {callId, uid});
        if (rows.empty())
            return;
        if (text(rows[0][0]) != "in_progress") {
            result = CallEnd::alreadyEnded;
            return;
        }
        const long long startedAt = integer(rows[0][1]);
        const long long ended = std::max(endedAt, startedAt);
        s.db->execute("UPDATE voice_calls SET status = 'completed', ended_at = ?, duration_secs = ?, "
                      "snippet = CASE WHEN ? = '' THEN snippet ELSE ? END WHERE id = ?",
                      {ended, ended - startedAt, snippet, snippet, callId});
        result = CallEnd::ended;
    });
    return result;
}

} // namespace service
