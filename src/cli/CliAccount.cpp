#include "cli/CliAccount.h"

#include "agents/service/AgentService.h"
#include "billing/service/BillingService.h"
#include "core/format/TokenDisplay.h"
#include "governance/model/PermissionGroups.h"
#include "governance/service/GovernanceService.h"

namespace halvex::cli {

namespace {

QString describe(const AgentMandate& m)
{
    QStringList lines;
    const QString hint = AgentMandate::autonomyLevels().value(m.afLevel).hint;
    lines << QStringLiteral("af_level: %1 (%2)").arg(m.afLevel).arg(hint);
    lines << QStringLiteral("max_standard_quote_usd: ")
            + (m.maxStandardQuoteUsd ? quoteText(m.maxStandardQuoteUsd) : QStringLiteral("none"));
    lines << QStringLiteral("max_discount_pct: ")
            + (m.maxDiscountPct ? quoteText(m.maxDiscountPct) : QStringLiteral("none"));
    lines << QStringLiteral("allowed_channels: ")
            + (m.allowedChannels ? m.allowedChannels->join(QStringLiteral(",")) : QStringLiteral("all"));
    lines << QStringLiteral("stop_conditions: ") + m.stopConditions.join(QStringLiteral(","));
    return lines.join(QLatin1Char('\n'));
}

// Applies one `key=value`; the text of what is wrong, or nothing.
std::optional<QString> applySetting(AgentMandate& m, const QString& entry)
{
    const qsizetype eq = entry.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return QStringLiteral("--set takes key=value, not “") + entry + QStringLiteral("”");
    const QString key = entry.left(eq).trimmed();
    const QString value = entry.mid(eq + 1).trimmed();
    const QStringList list = value.isEmpty() ? QStringList() : value.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (key == u"af_level") {
        bool ok = false;
        const int level = value.toInt(&ok);
        if (!ok || level < 0 || level > 5)
            return QStringLiteral("af_level is a whole number from 0 to 5");
        m.afLevel = level;
    } else if (key == u"max_standard_quote_usd") {
        m.maxStandardQuoteUsd = quoteFromText(value);
    } else if (key == u"max_discount_pct") {
        m.maxDiscountPct = quoteFromText(value);
    } else if (key == u"allowed_channels") {
        for (const QString& channel : list)
            if (!AgentMandate::channels().contains(channel.trimmed()))
                return QStringLiteral("channels are email, phone and connectors");
        if (value == u"all" || list.size() == AgentMandate::channels().size())
            m.allowedChannels.reset();
        else
            m.allowedChannels = list;
    } else if (key == u"stop_conditions") {
        m.stopConditions = list;
    } else {
        return QStringLiteral("unknown mandate key “") + key + QStringLiteral("”");
    }
    return std::nullopt;
}

} // namespace

QCoro::Task<int> showWallet(CliContext& c)
{
    BillingService billing(c.api);
    WalletResponse wallet;
    UserPlanResponse plan;
    try {
        wallet = co_await billing.wallet();
        plan = co_await billing.plan();
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    const WalletSnapshot& w = wallet.wallet;
    if (c.out.isJSON()) {
        c.out.object({{QStringLiteral("available_credits"), w.availableCredits},
                      {QStringLiteral("balance_credits"), w.balanceCredits},
                      {QStringLiteral("held_credits"), w.heldCredits},
                      {QStringLiteral("currency"), w.currency},
                      {QStringLiteral("percent_used"),
                       plan.usage && plan.usage->percentUsed ? JSONValue(*plan.usage->percentUsed) : JSONValue()}});
        co_return ok;
    }
    c.out.line(QStringLiteral("Available tokens: ") + TokenDisplay::format(w.availableCredits));
    c.out.line(QStringLiteral("Balance: ") + TokenDisplay::format(w.balanceCredits) + QStringLiteral("  held: ")
               + TokenDisplay::format(w.heldCredits));
    if (plan.plan && plan.plan->name)
        c.out.line(QStringLiteral("Plan: ") + *plan.plan->name);
    if (plan.usage && plan.usage->percentUsed)
        c.out.line(QString::number(qRound(*plan.usage->percentUsed)) + QStringLiteral("% of the monthly allowance"));
    for (const WalletTransaction& t : wallet.recentTransactions.mid(0, 10))
        c.out.line(QStringLiteral("  ") + t.createdAt.value_or(QString()) + QStringLiteral("  ")
                   + QString::number(t.amountUsd, 'f', 4) + QStringLiteral(" USD  ") + t.description.value_or(t.type));
    co_return ok;
}

QCoro::Task<int> editMandate(CliContext& c, QString agentId)
{
    GovernanceService governance(c.api);
    AgentService agents(c.api);
    std::optional<AgentMandate> stored;
    try {
        if (c.options.clear) {
            stored = co_await governance.saveMandate(agentId, std::nullopt);
            c.out.line(QStringLiteral("Mandate cleared — no limits enforced."));
            co_return ok;
        }
        stored = co_await governance.mandate(agentId);
        if (!c.options.settings.isEmpty()) {
            AgentMandate draft;
            if (stored) {
                draft = *stored;
            } else {
                const JSONObject detail = co_await agents.rawDetail(agentId);
                draft = AgentMandate::defaultFor(toolIdsOf(detail));
            }
            for (const QString& entry : std::as_const(c.options.settings))
                if (const auto problem = applySetting(draft, entry)) {
                    c.out.error(*problem);
                    co_return usage;
                }
            stored = co_await governance.saveMandate(agentId, draft);
            if (!c.out.isJSON())
                c.out.line(QStringLiteral("Mandate saved."));
        }
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    if (c.out.isJSON())
        c.out.object({{QStringLiteral("mandate"), stored ? JSONValue(stored->encode()) : JSONValue()}});
    else if (stored)
        c.out.line(describe(*stored));
    else
        c.out.line(QStringLiteral("No mandate: no limits enforced."));
    co_return ok;
}

QCoro::Task<int> setFrozen(CliContext& c, QString agentId, bool frozen)
{
    AgentService agents(c.api);
    try {
        const JSONObject body{{QStringLiteral("status"), frozen ? QStringLiteral("draft") : QStringLiteral("active")}};
        co_await agents.patch(agentId, body);
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    c.out.line(frozen ? QStringLiteral("Employee frozen — no new work starts.") : QStringLiteral("Employee resumed."));
    co_return ok;
}

} // namespace halvex::cli
