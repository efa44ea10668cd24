#pragma once
// The models built into the client: the service's own pay-per-use models, and per outside
// provider the models billed to the user's own key.
#include "agents/model/BrainModel.h"

#include <QSet>

#include <optional>

namespace halvex {

class LlmModelCatalog {
public:
    static const LlmModelGroup& payPerUse();
    // The five provider groups, in catalog order.
    static const QList<LlmModelGroup>& byok();
    // Pay-per-use first, then each connected provider's group in catalog order.
    static QList<LlmModelGroup> groups(const QSet<QString>& connectedProviders);
    // Every model of every group, connected or not, in catalog order.
    static const QList<BrainModel>& allModels();
};

namespace BrainCatalog {
// The first model of the catalog with exactly this id.
std::optional<BrainModel> model(const std::optional<QString>& id);
} // namespace BrainCatalog

} // namespace halvex
