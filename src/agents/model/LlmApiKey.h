#pragma once
// A language-model provider key the user stored; only its provider and state reach the client.
#include "core/json/JsonReader.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace halvex {

struct LlmApiKey {
    QString id;
    QString providerSlug;
    std::optional<QString> keyLabel;
    bool isValid = true;
    std::optional<QString> createdAt;

    static LlmApiKey decode(const JsonReader& json);
};

// The providers whose models the menus offer: those with a key that still works.
QSet<QString> connectedProviders(const QList<LlmApiKey>& keys);

} // namespace halvex
