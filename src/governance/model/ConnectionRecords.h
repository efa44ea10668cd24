#pragma once
// What links an employee to the outside world: connected accounts, connectable apps, payout
// accounts, its own channels, external API keys, and its call recordings.
#include "core/json/JsonReader.h"

namespace halvex {

struct ConnectedAccount {
    QString id;
    std::optional<QString> connectorSlug, provider, authKind, status, displayName, lastValidatedAt, errorMessage;
    static ConnectedAccount decode(const JsonReader& json);
    // The display name, else the provider, else "Connection".
    QString name() const;
};

struct Connector {
    QString id, name, slug;
    std::optional<QString> category, logoUrl, authType, nangoAuthType;
    static Connector decode(const JsonReader& json);
};

struct PaymentAccount {
    QString id;
    std::optional<QString> provider, label, currency;
    std::optional<bool> isValid;
    static PaymentAccount decode(const JsonReader& json);
};

struct AgentChannel {
    QString id, channelType;
    std::optional<QString> status, displayName, botUsername, connectedAccountId, errorMessage;
    JSONObject metadata;
    static AgentChannel decode(const JsonReader& json);
};

struct ExternalApiCatalogEntry {
    QString slug, label;
    std::optional<QString> summary, category, baseUrl, docsUrl;
    static ExternalApiCatalogEntry decode(const JsonReader& json);
};

struct ExternalApiKey {
    QString id, slug;
    std::optional<QString> label;
    std::optional<bool> isValid;
    std::optional<QString> suggestionId, baseUrl, lastUsedAt, createdAt;
    static ExternalApiKey decode(const JsonReader& json);
};

struct VoiceCallRecord {
    QString id;
    std::optional<QString> status, title, snippet, startedAt, endedAt;
    std::optional<int> durationSecs;
    static VoiceCallRecord decode(const JsonReader& json);
};

} // namespace halvex
