#include "ChatCorpus.h"

#include <QStringList>

namespace halvex::bench {

namespace {

JSONObject object(std::initializer_list<std::pair<const char*, JSONValue>> fields)
{
    JSONObject o;
    for (const auto& [key, value] : fields)
        o.insert(QString::fromUtf8(key), value);
    return o;
}

ChatMessage make(qint64 id, const char* role, QString content, JSONObject metadata)
{
    ChatMessage m;
    m.id = id;
    m.role = QString::fromUtf8(role);
    m.content = std::move(content);
    m.metadata.raw = std::move(metadata);
    return m;
}

const QString answer
    = QStringLiteral("## Findings\n\n1. **Revenue** — grew 14% quarter over quarter.\n2. **Churn** — fell to 2.1%.\n\n"
                     "| Metric | Q1 | Q2 |\n|---|---|---|\n| MRR | 120k | 137k |\n\n"
                     "Рынок растёт быстрее прогноза 🚀\n\n");

} // namespace

QList<ChatMessage> chatCorpus(int messageCount)
{
    QList<ChatMessage> out;
    out.reserve(messageCount);
    qint64 id = 1000;
    int turn = 0;
    while (out.size() < messageCount) {
        const JSONValue work = QStringLiteral("turn-%1").arg(turn);
        auto withTurn = [&](JSONObject o) {
            o.insert(QStringLiteral("work_kind"), QStringLiteral("chat_turn"));
            o.insert(QStringLiteral("work_id"), work);
            return o;
        };
        out.append(make(id++, "user", QStringLiteral("Find ten B2B leads in logistics, turn %1").arg(turn), {}));
        const int steps = 3 + turn % 6;
        for (int s = 0; s < steps; ++s) {
            const bool last = s + 1 == steps;
            switch (s % 4) {
            case 0:
                out.append(
                    make(id++, "step", QStringLiteral("Searching the web for logistics leads"),
                         withTurn(object({{"tool", "web_search"},
                                          {"kind", "tool_call"},
                                          {"status", last ? "done" : "running"},
                                          {"args", JSONValue(object({{"query", "logistics companies Berlin"}}))}}))));
                break;
            case 1:
                out.append(
                    make(id++, "step", QString(),
                         withTurn(object({{"tool", "browser_navigate"},
                                          {"status", "running"},
                                          {"result", JSONValue(object({{"url", "https://www.example.com/p"}}))}}))));
                break;
            case 2:
                out.append(make(
                    id++, "step", QStringLiteral("Asked Sales Lead to help with scoring"),
                    withTurn(object({{"tool", "delegate_task"}, {"status", "done"}, {"delegate_to", "sales-lead"}}))));
                break;
            default:
                out.append(
                    make(id++, "step", QString(),
                         withTurn(object({{"tool", "crm_lookup"}, {"status", "running"}, {"from", "researcher"}}))));
                break;
            }
        }
        if (turn % 5 == 0)
            out.append(make(id++, "step", QStringLiteral("Email sent"),
                            withTurn(object({{"tool", "send_email"}, {"status", "sent"}}))));
        const bool report = turn % 3 == 0;
        out.append(make(id++, "assistant",
                        answer + (report ? QStringLiteral("Sources: [Report](https://example.com/r)") : QString()),
                        withTurn(object({{"kind", "text"}}))));
        if (turn % 7 == 0)
            out.append(make(
                id++, "assistant", QStringLiteral("Create a worker for weekly lead lists?"),
                object({{"kind", "orchestrator_propose_worker"}, {"status", turn % 14 ? "approved" : "pending"}})));
        if (turn % 4 == 0)
            out.append(make(
                id++, "assistant", QString(),
                object({{"artifact",
                         JSONValue(object(
                             {{"artifact_type", "table"}, {"name", "Leads"}, {"url", "https://app.example/t/1"}}))}})));
        out.append(make(id++, "assistant", QString(),
                        withTurn(object({{"kind", "turn_spend"}, {"cost_usd", 0.0125}, {"total_tokens", 18250}}))));
        ++turn;
    }
    out.resize(messageCount);
    return out;
}

} // namespace halvex::bench
