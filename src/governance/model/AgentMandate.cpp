#include "governance/model/AgentMandate.h"

#include <cmath>

namespace halvex {

namespace {

JSONValue orNull(const std::optional<double>& v) { return v ? JSONValue(*v) : JSONValue(); }

JSONArray strings(const QStringList& list)
{
    JSONArray out;
    for (const QString& s : list)
        out.append(s);
    return out;
}

struct Financial {
    std::optional<double> quote, discount;
    static Financial decode(const JsonReader& json)
    {
        return {json.optional<double>("max_standard_quote_usd"), json.optional<double>("max_discount_pct")};
    }
};

struct Communication {
    std::optional<QStringList> channels;
    static Communication decode(const JsonReader& json) { return {json.optional<QStringList>("allowed_channels")}; }
};

} // namespace

AgentMandate AgentMandate::decode(const JsonReader& json)
{
    AgentMandate m;
    m.version = json.required<int>("version");
    m.afLevel = json.required<int>("af_level");
    const Financial f = json.required<Financial>("financial_authority");
    m.maxStandardQuoteUsd = f.quote;
    m.maxDiscountPct = f.discount;
    m.allowedChannels = json.required<Communication>("communication_authority").channels;
    m.stopConditions = json.required<QStringList>("stop_conditions");
    return m;
}

JSONObject AgentMandate::encode() const
{
    return {{QStringLiteral("version"), version},
            {QStringLiteral("af_level"), afLevel},
            {QStringLiteral("financial_authority"),
             JSONObject{{QStringLiteral("max_standard_quote_usd"), orNull(maxStandardQuoteUsd)},
                        {QStringLiteral("max_discount_pct"), orNull(maxDiscountPct)}}},
            {QStringLiteral("communication_authority"),
             JSONObject{{QStringLiteral("allowed_channels"),
                         allowedChannels ? JSONValue(strings(*allowedChannels)) : JSONValue()}}},
            {QStringLiteral("stop_conditions"), strings(stopConditions)}};
}

AgentMandate AgentMandate::defaultFor(const QStringList& toolIds)
{
    AgentMandate m;
    const bool reachesOut = std::any_of(toolIds.cbegin(), toolIds.cend(), [](const QString& id) {
        return id.contains(QLatin1String("send-email")) || id.contains(QLatin1String("call-phone"));
    });
    m.afLevel = reachesOut ? 3 : 2;
    m.maxStandardQuoteUsd = 500;
    m.maxDiscountPct = 0;
    m.stopConditions = {QStringLiteral("policy_violation")};
    return m;
}

const QStringList& AgentMandate::channels()
{
    static const QStringList all{QStringLiteral("email"), QStringLiteral("phone"), QStringLiteral("connectors")};
    return all;
}

const QList<AutonomyLevel>& AgentMandate::autonomyLevels()
{
    static const QList<AutonomyLevel> levels{{0, QStringLiteral("observe")},       {1, QStringLiteral("optimize")},
                                             {2, QStringLiteral("reversible")},    {3, QStringLiteral("outreach")},
                                             {4, QStringLiteral("collect money")}, {5, QStringLiteral("budgets")}};
    return levels;
}

bool AgentMandate::allows(const QString& channel) const
{
    return !allowedChannels || allowedChannels->contains(channel);
}

void AgentMandate::toggleChannel(const QString& channel)
{
    QStringList list = allowedChannels.value_or(channels());
    if (list.contains(channel))
        list.removeAll(channel);
    else
        list.append(channel);
    if (list.size() == channels().size())
        allowedChannels.reset();
    else
        allowedChannels = list;
}

QString quoteText(const std::optional<double>& usd)
{
    if (!usd || !std::isfinite(*usd))
        return {};
    if (*usd == std::trunc(*usd) && std::abs(*usd) < 1e15)
        return QString::number(qint64(*usd));
    return QString::number(*usd, 'g', 15);
}

std::optional<double> quoteFromText(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

} // namespace halvex
