// Demo conversations: a long researcher chat that needs paging (steps, a report with sources,
// usage lines), a support chat and the team's conversation. The sidebar's unread badges come
// from the base seed's two answers, so these are all read.
#include "demo/DemoSeed.h"

#include "core/Http.h"

#include <ctime>

namespace service {

namespace {

std::string isoAt(std::time_t t)
{
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S.000Z", &tm);
    return buf;
}

struct Seeder {
    Service& s;
    std::time_t at;

    void add(const std::string& chat, const std::string& role, const std::string& content, const json& metadata,
             bool read)
    {
        at += 90;
        s.db->execute(
            "INSERT INTO messages (agent_id, role, content, metadata, created_at, read) VALUES (?, ?, ?, ?, ?, ?)",
            {chat, role, content, metadata.dump(), isoAt(at), static_cast<long long>(read ? 1 : 0)});
    }
};

const char* const kTopics[]
    = {"pricing of the top analytics tools", "onboarding emails that convert", "churn in the first month",
       "partners for the spring launch", "the best time to post on social media"};

void seedResearcher(Seeder& seed)
{
    // 30 turns of four messages: the question, a finished search step, the answer, its usage line.
    for (int turn = 0; turn < 30; ++turn) {
        const std::string topic = kTopics[turn % 5];
        const std::string work = "seed-turn-" + std::to_string(turn + 1);
        const json base{{"work_kind", "chat_turn"}, {"work_id", work}};
        seed.add("a-researcher", "user", "Research " + topic + " (#" + std::to_string(turn + 1) + ")", json::object(),
                 true);
        json step = base;
        step.update({{"tool", "web_search"}, {"kind", "tool_done"}, {"status", "done"}, {"args", {{"query", topic}}}});
        seed.add("a-researcher", "step", "Searched the web: " + topic, step, true);
        const std::string answer = turn % 5 == 4 ? "## Findings: " + topic
                + "\n\n1. **Northwind Analytics** — lowest price\n2. **Blue Harbor** — best support\n\n"
                  "Sources: [Northwind pricing](https://example.com/northwind/pricing), [Blue Harbor "
                  "review](https://example.org/reviews/blue-harbor)"
                                                 : "Here is what I found about " + topic
                + ": the leaders are close; Northwind is the cheapest to start with.";
        seed.add("a-researcher", "assistant", answer, base, true);
        json usage = base;
        usage.update({{"kind", "turn_spend"}, {"tokens", 1200 + turn * 10}, {"cost_usd", 0.0024 + turn * 0.00002}});
        seed.add("a-researcher", "assistant", "", usage, true);
    }
}

} // namespace

void seedChats(Service& s, long long)
{
    Seeder seed{s, std::time(nullptr) - 3 * 86400};
    seedResearcher(seed);
    seed.add("a-support", "user", "Can you check the open tickets?", json::object(), true);
    seed.add("a-support", "assistant", "Two tickets need a reply today.", json::object(), true);
    seed.add("a-support", "assistant", "The refund for order 1042 went through.", json::object(), true);
    seed.add("a-orchestrator-growth", "user", "Plan the spring campaign.", json::object(), true);
    seed.add("a-orchestrator-growth", "assistant", "The team drafted a plan: **three launches**, one a month.",
             {{"from", "Growth lead"}}, true);
}

} // namespace service
