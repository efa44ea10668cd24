#pragma once
// An employee's channels: at most one e-mail address and one phone number each. An address or
// number belongs to one employee at a time; one left behind by a deleted employee is free again.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>

namespace service {

struct NewChannel {
    std::string kind; // "email" or "phone"
    std::string channelType;
    std::string address; // the e-mail address or the phone number
    json metadata = json::object();
    std::optional<std::string> sealedCredentials;
};

// Replaces the employee's channel of the same kind inside the caller's transaction; false when
// another employee holds the address. Answers the new channel's id in `id`.
bool storeChannel(Service& s, long long uid, const std::string& agentId, const NewChannel& channel, std::string& id);
// The same in a transaction of its own, answering the stored channel.
std::optional<json> saveChannel(Service& s, long long uid, const std::string& agentId, const NewChannel& channel);
bool addressTaken(Service& s, const std::string& kind, const std::string& address, const std::string& agentId);
json channelsOf(Service& s, long long uid, const std::string& agentId);

} // namespace service
