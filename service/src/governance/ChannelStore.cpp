#include "governance/ChannelStore.h"

#include "core/Crypto.h"
#include "governance/Rows.h"
#include "workers/WorkerClock.h"

namespace service {

namespace {

constexpr const char* kColumns
    = "id, channel_type, status, display_name, bot_username, connected_account_id, error_message, metadata";

json channelJson(const SqlRow& r)
{
    json metadata = json::parse(text(r[7]), nullptr, false);
    return {{"id", text(r[0])},
            {"channel_type", text(r[1])},
            {"status", text(r[2])},
            {"display_name", text(r[3])},
            {"bot_username", textOrNull(r[4])},
            {"connected_account_id", textOrNull(r[5])},
            {"error_message", textOrNull(r[6])},
            {"metadata", metadata.is_object() ? metadata : json::object()}};
}

} // namespace

bool addressTaken(Service& s, const std::string& kind, const std::string& address, const std::string& agentId)
{
    return !s.db->query("SELECT 1 FROM agent_channels c JOIN agents a ON a.id = c.agent_id "
                        "WHERE c.kind = ? AND c.address = ? AND c.agent_id != ?",
                        {kind, address, agentId})
                .empty();
}

bool storeChannel(Service& s, long long uid, const std::string& agentId, const NewChannel& channel, std::string& id)
{
    if (addressTaken(s, channel.kind, channel.address, agentId))
        return false;
    id = "ch-" + randomHex(8);
    s.db->execute("DELETE FROM agent_channels WHERE (kind = ? AND address = ?) OR (agent_id = ? AND kind = ?)",
                  {channel.kind, channel.address, agentId, channel.kind});
    s.db->execute(
        "INSERT INTO agent_channels (id, user_id, agent_id, kind, channel_type, address, status, "
        "display_name, metadata, sealed_credentials, created_at) "
        "VALUES (?, ?, ?, ?, ?, ?, 'active', ?, ?, ?, ?)",
        {id, uid, agentId, channel.kind, channel.channelType, channel.address, channel.address, channel.metadata.dump(),
         channel.sealedCredentials ? SqlValue(*channel.sealedCredentials) : SqlValue(nullptr), workers::serviceIso(s)});
    return true;
}

std::optional<json> saveChannel(Service& s, long long uid, const std::string& agentId, const NewChannel& channel)
{
    std::string id;
    bool stored = false;
    s.db->transaction([&] { stored = storeChannel(s, uid, agentId, channel, id); });
    if (!stored)
        return std::nullopt;
    return channelJson(
        s.db->query(std::string("SELECT ") + kColumns + " FROM agent_channels WHERE id = ?", {id}).at(0));
}

json channelsOf(Service& s, long long uid, const std::string& agentId)
{
    json out = json::array();
    for (const auto& r : s.db->query(std::string("SELECT ") + kColumns
                                         + " FROM agent_channels WHERE user_id = ? AND agent_id = ? ORDER BY kind",
                                     {uid, agentId}))
        out.push_back(channelJson(r));
    return out;
}

} // namespace service
