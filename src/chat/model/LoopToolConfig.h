#pragma once
// The limits of loop mode: the employee iterates on its result until the quality bar, a cap,
// or an iteration without improvement stops it.
#include "core/json/JSONValue.h"

namespace halvex {

struct LoopToolConfig {
    bool enabled = false;
    int iterations = 3;
    int maxTokens = 0;
    double maxCostUsd = 0;
    int quality = 0;
    bool stopOnNoImprove = true;

    // From an employee's capabilities; a missing or wrong-typed key keeps its default.
    static LoopToolConfig fromCapabilities(const JSONObject& capabilities);
    // `capabilities` with the six loop keys set; every other key kept as it is.
    JSONObject writtenInto(JSONObject capabilities) const;

    bool operator==(const LoopToolConfig&) const = default;
};

} // namespace halvex
