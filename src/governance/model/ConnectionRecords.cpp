#include "governance/model/ConnectionRecords.h"

namespace halvex {

ConnectedAccount ConnectedAccount::decode(const JsonReader& j)
{
    return {j.required<QString>("id"),
            j.lenient<QString>("connector_slug"),
            j.lenient<QString>("provider"),
            j.lenient<QString>("auth_kind"),
            j.lenient<QString>("status"),
            j.lenient<QString>("display_name"),
            j.lenient<QString>("last_validated_at"),
            j.lenient<QString>("error_message")};
}

QString ConnectedAccount::name() const
{
    if (displayName && !displayName->isEmpty())
        return *displayName;
    if (provider && !provider->isEmpty())
        return *provider;
    return QStringLiteral("Connection");
}

Connector Connector::decode(const JsonReader& j)
{
    return {j.required<QString>("id"),
            j.required<QString>("name"),
            j.required<QString>("slug"),
            j.lenient<QString>("category"),
            j.lenient<QString>("logo_url"),
            j.lenient<QString>("auth_type"),
            j.lenient<QString>("nango_auth_type")};
}

PaymentAccount PaymentAccount::decode(const JsonReader& j)
{
    return {j.required<QString>("id"), j.lenient<QString>("provider"), j.lenient<QString>("label"),
            j.lenient<QString>("currency"), j.lenient<bool>("is_valid")};
}

AgentChannel AgentChannel::decode(const JsonReader& j)
{
    AgentChannel c{j.required<QString>("id"),           j.required<QString>("channel_type"),
                   j.lenient<QString>("status"),        j.lenient<QString>("display_name"),
                   j.lenient<QString>("bot_username"),  j.lenient<QString>("connected_account_id"),
                   j.lenient<QString>("error_message"), {}};
    const JSONValue metadata = JSONValue::fromQJsonValue(j.object().value(QStringLiteral("metadata")));
    if (metadata.isObject())
        c.metadata = metadata.toObject();
    return c;
}

ExternalApiCatalogEntry ExternalApiCatalogEntry::decode(const JsonReader& j)
{
    return {j.required<QString>("slug"),    j.required<QString>("label"),   j.lenient<QString>("summary"),
            j.lenient<QString>("category"), j.lenient<QString>("base_url"), j.lenient<QString>("docs_url")};
}

ExternalApiKey ExternalApiKey::decode(const JsonReader& j)
{
    return {j.required<QString>("id"),          j.required<QString>("slug"),         j.lenient<QString>("label"),
            j.lenient<bool>("is_valid"),        j.lenient<QString>("suggestion_id"), j.lenient<QString>("base_url"),
            j.lenient<QString>("last_used_at"), j.lenient<QString>("created_at")};
}

VoiceCallRecord VoiceCallRecord::decode(const JsonReader& j)
{
    return {j.required<QString>("id"),      j.lenient<QString>("status"),     j.lenient<QString>("title"),
            j.lenient<QString>("snippet"),  j.lenient<QString>("started_at"), j.lenient<QString>("ended_at"),
            j.lenient<int>("duration_secs")};
}

} // namespace halvex
