#include "ChatEvents.h"

namespace halvex::bench {

ChatMessage streamEvent(qint64 id, int turnStep, AnswerText answers)
{
    ChatMessage m;
    m.id = id;
    switch (turnStep % 4) {
    case 0:
        m.role = QStringLiteral("user");
        m.content = QStringLiteral("Compare the three offers and tell me which one to take.");
        break;
    case 1:
    case 2:
        m.role = QStringLiteral("step");
        m.content = QStringLiteral("Searching the web: offer %1 pricing").arg(id);
        m.metadata.raw.insert(QStringLiteral("tool"), QStringLiteral("web_search"));
        m.metadata.raw.insert(QStringLiteral("status"), QStringLiteral("done"));
        m.metadata.raw.insert(QStringLiteral("kind"), QStringLiteral("tool_done"));
        break;
    default:
        m.role = QStringLiteral("assistant");
        m.content
            = QStringLiteral("## Findings\n\n1. **Offer A** — cheapest, slow support.\n2. **Offer B** — best value.\n\n"
                             "| Offer | Price |\n|---|---|\n| A | 10 |\n| B | 12 |\n");
        if (answers == AnswerText::numbered)
            m.content.replace(QStringLiteral("Findings"), QStringLiteral("Findings for %1").arg(id));
    }
    m.createdAt = QStringLiteral("2026-12-06T12:00:00Z");
    return m;
}

Agent benchAgent()
{
    Agent a;
    a.id = QStringLiteral("a1");
    a.name = QStringLiteral("Ada");
    return a;
}

} // namespace halvex::bench
