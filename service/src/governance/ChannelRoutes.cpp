// An employee's channels: the list, an address under the service's mail domain, and a phone
// number on a carrier. Carrier credentials are sealed on arrival; answers carry only the number.
#include "Routes.h"

#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "auth/Sessions.h"
#include "core/Crypto.h"
#include "governance/ChannelRules.h"
#include "governance/ChannelStore.h"
#include "governance/RequestBody.h"
#include "governance/SecretVault.h"

#include <cstdio>

namespace service {

namespace {

constexpr size_t kMaxField = 4096;

// The employee the body names, or nothing with the answer sent.
std::optional<json> bodyAgent(Service& s, long long uid, const json& body, httplib::Response& res)
{
    const auto id = readText(body, "custom_agent_id", 100, res);
    if (!id)
        return std::nullopt;
    if (id->empty()) {
        sendError(res, 400, "custom_agent_id is required");
        return std::nullopt;
    }
    auto agent = findAgent(s, uid, *id);
    if (!agent)
        sendError(res, 404, "Agent not found");
    return agent;
}

void provisionEmail(Service& s, long long uid, const httplib::Request& req, httplib::Response& res)
{
    const auto body = readSmallBody(req, res);
    if (!body)
        return;
    const auto agent = bodyAgent(s, uid, *body, res);
    const auto asked = agent ? readText(*body, "local_part", kMaxField, res) : std::nullopt;
    if (!asked)
        return;
    const std::string agentId = textOf(*agent, "id");
    const auto address = [](const std::string& local) { return local + "@" + kAgentMailDomain; };
    std::string local;
    if (asked->empty()) {
        // A derived address steps aside for a taken one: support-desk, support-desk-2, …
        const std::string base = localPartFromName(textOf(*agent, "name"));
        local = base;
        for (int n = 2; n < 100 && addressTaken(s, "email", address(local), agentId); ++n)
            local = base.substr(0, 36) + "-" + std::to_string(n);
    } else if (const auto normal = normalLocalPart(*asked)) {
        local = *normal;
    } else {
        return sendError(res, 400, kBadLocalPart);
    }
    const NewChannel channel{"email", "email", address(local), {{"address", address(local)}}, std::nullopt};
    const auto saved = saveChannel(s, uid, agentId, channel);
    if (!saved)
        return sendError(res, 409, "That address is taken.");
    sendJson(res, {{"channel", *saved}}, 201);
}

// "+1" with the area code asked for (415 when none) and a free 555 line.
std::string provisionedNumber(Service& s, const std::string& areaCode, const std::string& agentId)
{
    std::string number;
    // Bounded: should every line be taken, saving the last one tried answers 409.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned long line = std::stoul(randomHex(4), nullptr, 16) % 10000;
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04lu", line);
        number = "+1" + (areaCode.empty() ? std::string("415") : areaCode) + "555" + digits;
        if (!addressTaken(s, "phone", number, agentId))
            break;
    }
    return number;
}

// Checks the carrier's own fields; answers the number it is reached on, or nothing with the 400 sent.
std::optional<std::string> phoneFor(Service& s, const Carrier& carrier, json& fields, const std::string& agentId,
                                    httplib::Response& res)
{
    if (!carrier.provisions) {
        const std::string number = fields["phone_number"];
        if (!looksLikePhoneNumber(number)) {
            sendError(res, 400, kBadPhone);
            return std::nullopt;
        }
        return number;
    }
    std::string country = fields.value("country", std::string());
    for (char& c : country)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (country.empty())
        country = "US";
    const std::string area = fields.value("area_code", std::string());
    if (country != "US" && country != "CA") {
        sendError(res, 400, "Numbers can be provisioned in the US and Canada (country US or CA).");
        return std::nullopt;
    }
    if (!area.empty() && (area.size() != 3 || area.find_first_not_of("0123456789") != std::string::npos)) {
        sendError(res, 400, "Area code must be three digits.");
        return std::nullopt;
    }
    fields["country"] = country;
    return provisionedNumber(s, area, agentId);
}

void connectCarrier(Service& s, const Carrier& carrier, long long uid, const httplib::Request& req,
                    httplib::Response& res)
{
    const auto body = readSmallBody(req, res);
    if (!body)
        return;
    const auto agent = bodyAgent(s, uid, *body, res);
    if (!agent)
        return;
    json fields = json::object();
    for (const CarrierField& f : carrier.fields) {
        const auto value = readText(*body, f.key, kMaxField, res);
        if (!value)
            return;
        if (value->empty() && !f.optional)
            return sendError(res, 400, std::string(f.label) + " is required.");
        if (!value->empty())
            fields[f.key] = *value;
    }
    const std::string agentId = textOf(*agent, "id");
    const auto number = phoneFor(s, carrier, fields, agentId, res);
    if (!number)
        return;
    NewChannel channel{"phone",
                       std::string(carrier.id) + "_voice",
                       *number,
                       {{"phone_number", *number}, {"carrier", carrier.id}},
                       sealSecret(s, fields.dump())};
    if (carrier.provisions)
        channel.metadata["country"] = fields["country"];
    const auto saved = saveChannel(s, uid, agentId, channel);
    if (!saved)
        return sendError(res, 409, "That number is already connected to another employee.");
    sendJson(res, {{"channel", *saved}}, 201);
}

} // namespace

void addChannelRoutes(httplib::Server& svr, Service& s)
{
    svr.Get(R"(/api/v2/custom-agents/([A-Za-z0-9_-]+)/channels)",
            [&](const httplib::Request& req, httplib::Response& res) {
                const auto user = requireUser(s, req, res);
                if (!user)
                    return;
                if (!findAgent(s, userId(*user), req.matches[1]))
                    return sendError(res, 404, "Agent not found");
                sendJson(res, {{"channels", channelsOf(s, userId(*user), req.matches[1])}});
            });
    svr.Post("/api/v2/user/email-channels", [&](const httplib::Request& req, httplib::Response& res) {
        const auto user = requireUser(s, req, res);
        if (user)
            provisionEmail(s, userId(*user), req, res);
    });
    for (const Carrier& carrier : carriers())
        svr.Post(std::string("/api/v2/user/") + carrier.id + "-channels",
                 [&s, &carrier](const httplib::Request& req, httplib::Response& res) {
                     const auto user = requireUser(s, req, res);
                     if (user)
                         connectCarrier(s, carrier, userId(*user), req, res);
                 });
}

} // namespace service
