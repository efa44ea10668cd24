#pragma once
// The body of a spend line: what one response cost, in the service's unit, and its tokens.
#include "chat/model/MessageMetadata.h"

#include <QString>

#include <optional>

namespace halvex::UsageLine {

// "◆ 24 · 12,500 tokens for this response".
QString text(const MessageMetadata& metadata);

// "cost_usd" when it is a positive finite number.
std::optional<double> costUSD(const MessageMetadata& metadata);

// "total_tokens" or "tokens", else input plus output tokens; at top level or under "usage".
std::optional<qint64> tokenCount(const MessageMetadata& metadata);

} // namespace halvex::UsageLine
