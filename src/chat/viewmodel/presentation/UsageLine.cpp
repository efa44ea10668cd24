#include "chat/viewmodel/presentation/UsageLine.h"

#include "chat/viewmodel/presentation/PresentationText.h"
#include "core/format/TokenFormat.h"

#include <cmath>

namespace halvex::UsageLine {

namespace {

// Non-negative whole counts only; a huge or fractional number is not a token count.
std::optional<qint64> count(const JSONObject& object, const QString& key)
{
    const auto it = object.constFind(key);
    if (it == object.cend() || !it->isNumber())
        return std::nullopt;
    const double n = it->toNumber();
    if (!std::isfinite(n) || n < 0 || n > 9.0e15)
        return std::nullopt;
    return qint64(std::llround(n));
}

std::optional<qint64> tokensIn(const JSONObject& object)
{
    if (auto total = count(object, QStringLiteral("total_tokens")))
        return total;
    if (auto tokens = count(object, QStringLiteral("tokens")))
        return tokens;
    const auto input = count(object, QStringLiteral("input_tokens"));
    const auto output = count(object, QStringLiteral("output_tokens"));
    if (!input && !output)
        return std::nullopt;
    return input.value_or(0) + output.value_or(0);
}

} // namespace

std::optional<double> costUSD(const MessageMetadata& metadata)
{
    const auto it = metadata.raw.constFind(QStringLiteral("cost_usd"));
    if (it == metadata.raw.cend() || !it->isNumber())
        return std::nullopt;
    const double cost = it->toNumber();
    if (!std::isfinite(cost) || cost <= 0)
        return std::nullopt;
    return cost;
}

std::optional<qint64> tokenCount(const MessageMetadata& metadata)
{
    if (auto tokens = tokensIn(metadata.raw))
        return tokens;
    const auto usage = metadata.raw.constFind(QStringLiteral("usage"));
    if (usage != metadata.raw.cend() && usage->isObject())
        return tokensIn(usage->toObject());
    return std::nullopt;
}

QString text(const MessageMetadata& metadata)
{
    QStringList parts;
    if (const auto cost = costUSD(metadata))
        parts.append(TokenFormat::diamonds(*cost));
    if (const auto tokens = tokenCount(metadata))
        parts.append(PresentationText::formatNumber(*tokens)
                     + (*tokens == 1 ? QStringLiteral(" token") : QStringLiteral(" tokens")));
    if (parts.isEmpty())
        return QStringLiteral("No spend recorded for this response");
    return parts.join(QStringLiteral(" \u00B7 ")) + QStringLiteral(" for this response");
}

} // namespace halvex::UsageLine
