#include "governance/model/ChannelCatalog.h"

namespace halvex::ChannelCatalog {

namespace {

ChannelField field(const char* key, const char* label, const char* placeholder, bool secure = false,
                   bool optional = false)
{
    return {QString::fromUtf8(key), QString::fromUtf8(label), QString::fromUtf8(placeholder), secure, optional};
}

} // namespace

const QList<ChannelProvider>& carriers()
{
    static const QList<ChannelProvider> list{
        {QStringLiteral("twilio"),
         QStringLiteral("Twilio"),
         QStringLiteral("/api/v2/user/twilio-channels"),
         QStringLiteral("Account SID, auth token and a voice-capable number."),
         {field("account_sid", "Account SID", "AC…"), field("auth_token", "Auth token", "•••", true),
          field("phone_number", "Phone number", "+14155551212")}},
        {QStringLiteral("telnyx"),
         QStringLiteral("Telnyx"),
         QStringLiteral("/api/v2/user/telnyx-channels"),
         QStringLiteral("API key and a number already in your Telnyx account."),
         {field("api_key", "API key", "KEY…", true), field("public_key", "Public key", "optional", true, true),
          field("phone_number", "Phone number", "+14155551212")}},
        {QStringLiteral("plivo"),
         QStringLiteral("Plivo"),
         QStringLiteral("/api/v2/user/plivo-channels"),
         QStringLiteral("Auth ID, auth token and a Plivo number."),
         {field("auth_id", "Auth ID", "MA…"), field("auth_token", "Auth token", "•••", true),
          field("phone_number", "Phone number", "+14155551212")}},
        {QStringLiteral("vonage"),
         QStringLiteral("Vonage"),
         QStringLiteral("/api/v2/user/vonage-channels"),
         QStringLiteral("API key, secret and a Vonage number."),
         {field("api_key", "API key", "•••"), field("api_secret", "API secret", "•••", true),
          field("signature_secret", "Signature secret", "optional", true, true),
          field("phone_number", "Phone number", "+447700900000")}},
        {QStringLiteral("voximplant"),
         QStringLiteral("Voximplant"),
         QStringLiteral("/api/v2/user/voximplant-channels"),
         QStringLiteral("Account ID, API key and a number."),
         {field("account_id", "Account ID", "1234567"), field("api_key", "API key", "•••", true),
          field("phone_number", "Phone number", "+74955551212")}},
        {QStringLiteral("agentphone"),
         QStringLiteral("AgentPhone"),
         QStringLiteral("/api/v2/user/agentphone-channels"),
         QStringLiteral("Managed — provisions a number for you. Paste your AgentPhone API key."),
         {field("api_key", "API key", "ap_…", true), field("country", "Country", "US (optional)", false, true),
          field("area_code", "Area code", "415 (optional)", false, true)}},
    };
    return list;
}

const ChannelProvider* carrier(const QString& id)
{
    for (const ChannelProvider& p : carriers())
        if (p.id == id)
            return &p;
    return nullptr;
}

const QStringList& phoneChannelTypes()
{
    static const QStringList types{QStringLiteral("voice"),           QStringLiteral("twilio_voice"),
                                   QStringLiteral("telnyx_voice"),    QStringLiteral("plivo_voice"),
                                   QStringLiteral("vonage_voice"),    QStringLiteral("voximplant_voice"),
                                   QStringLiteral("agentphone_voice")};
    return types;
}

bool isLive(const AgentChannel& channel)
{
    static const QStringList live{QStringLiteral("active"), QStringLiteral("connected"), QStringLiteral("ready"),
                                  QStringLiteral("verified"), QStringLiteral("pending")};
    return live.contains(channel.status.value_or(QStringLiteral("active")));
}

std::optional<AgentChannel> emailChannel(const QList<AgentChannel>& channels)
{
    for (const AgentChannel& c : channels)
        if (c.channelType == u"email" && isLive(c))
            return c;
    return std::nullopt;
}

std::optional<AgentChannel> phoneChannel(const QList<AgentChannel>& channels)
{
    for (const AgentChannel& c : channels)
        if (phoneChannelTypes().contains(c.channelType) && isLive(c))
            return c;
    return std::nullopt;
}

} // namespace halvex::ChannelCatalog
