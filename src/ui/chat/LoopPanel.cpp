#include "ui/chat/LoopPanel.h"

namespace halvex {

LoopPanel::LoopPanel(QString agentId, APIClient& api, QObject* parent)
    : QObject(parent),
      m_model(std::move(agentId), AgentService(api))
{
    connect(&m_model, &SoloLoopToolModel::changed, this, &LoopPanel::changed);
    connect(&m_model, &SoloLoopToolModel::unauthorized, this, &LoopPanel::unauthorized);
}

LoopPanel::~LoopPanel() { m_model.stop(); }

void LoopPanel::open() { m_model.loadIfNeeded(); }

void LoopPanel::save(bool enabled, int iterations, int maxTokens, double maxCostUsd, int quality, bool stopOnNoImprove)
{
    m_model.save(LoopToolConfig{enabled, iterations, maxTokens, maxCostUsd, quality, stopOnNoImprove});
}

} // namespace halvex
