#include "chat/model/LoopToolConfig.h"

#include <cmath>
#include <limits>

namespace halvex {

namespace {

bool flag(const JSONObject& o, const char* key, bool fallback)
{
    return o.value(QLatin1String(key)).boolValue().value_or(fallback);
}

int truncated(const JSONObject& o, const char* key, int fallback)
{
    const auto n = o.value(QLatin1String(key)).numberValue();
    if (!n || !std::isfinite(*n))
        return fallback;
    const double t = std::trunc(*n);
    if (t > std::numeric_limits<int>::max() || t < std::numeric_limits<int>::min())
        return fallback;
    return int(t);
}

} // namespace

LoopToolConfig LoopToolConfig::fromCapabilities(const JSONObject& c)
{
    LoopToolConfig d;
    LoopToolConfig config;
    config.enabled = flag(c, "loop_mode", d.enabled);
    config.iterations = truncated(c, "loop_max_iterations", d.iterations);
    config.maxTokens = truncated(c, "loop_max_tokens", d.maxTokens);
    config.maxCostUsd = c.value(QStringLiteral("loop_max_cost_usd")).numberValue().value_or(d.maxCostUsd);
    config.quality = truncated(c, "loop_quality_threshold", d.quality);
    config.stopOnNoImprove = flag(c, "loop_stop_on_no_improvement", d.stopOnNoImprove);
    return config;
}

JSONObject LoopToolConfig::writtenInto(JSONObject c) const
{
    c.insert(QStringLiteral("loop_mode"), enabled);
    c.insert(QStringLiteral("loop_max_iterations"), iterations);
    c.insert(QStringLiteral("loop_max_tokens"), maxTokens);
    c.insert(QStringLiteral("loop_max_cost_usd"), maxCostUsd);
    c.insert(QStringLiteral("loop_quality_threshold"), quality);
    c.insert(QStringLiteral("loop_stop_on_no_improvement"), stopOnNoImprove);
    return c;
}

} // namespace halvex
