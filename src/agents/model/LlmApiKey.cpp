#include "agents/model/LlmApiKey.h"

namespace halvex {

LlmApiKey LlmApiKey::decode(const JsonReader& json)
{
    LlmApiKey key;
    key.id = json.required<QString>("id");
    key.providerSlug = json.required<QString>("providerSlug");
    key.keyLabel = json.optional<QString>("keyLabel");
    key.isValid = json.lenient<bool>("isValid").value_or(true);
    key.createdAt = json.optional<QString>("createdAt");
    return key;
}

QSet<QString> connectedProviders(const QList<LlmApiKey>& keys)
{
    QSet<QString> providers;
    for (const LlmApiKey& key : keys)
        if (key.isValid)
            providers.insert(key.providerSlug);
    return providers;
}

} // namespace halvex
