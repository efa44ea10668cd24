// Workers in process: revising a draft from an instruction, and the runtime's runs across a
// shutdown and a restart of the service.
#include "Server.h"
#include "agents/AgentJson.h"
#include "agents/AgentStore.h"
#include "chat/MessageStore.h"
#include "generation/Drafts.h"
#include "generation/Revision.h"
#include "workers/RunStore.h"
#include "workers/WorkerRuntime.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <filesystem>

using namespace service;
using namespace service::generation;
using nlohmann::json;

namespace {

json priceWatch()
{
    return {{"name", "Price watch"},
            {"system_prompt", "You watch prices."},
            {"trigger", {{"type", "manual"}}},
            {"knowledge_base", "Plans change monthly."},
            {"knowledge_urls", {"https://example.com/kb"}},
            {"playbook",
             {{{"type", "browse"},
               {"name", "Read prices"},
               {"url", "https://example.com"},
               {"instructions", "Note prices"}},
              {{"type", "llm"}, {"name", "Compare"}, {"prompt", "Compare them"}},
              {{"type", "tool"}, {"name", "Send"}, {"tool_id", "slack_post_message"}, {"args", {{"channel", "#x"}}}}}}};
}

json revised(const std::string& instruction, const json& from = priceWatch())
{
    auto out = reviseDraft(from, instruction);
    if (const auto* problem = std::get_if<std::string>(&out)) {
        ADD_FAILURE() << instruction << ": " << *problem;
        return {};
    }
    return std::get<json>(out);
}

std::string refusal(const std::string& instruction)
{
    auto out = reviseDraft(priceWatch(), instruction);
    return std::holds_alternative<std::string>(out) ? std::get<std::string>(out) : "revised";
}

// As the app scopes an instruction to one step.
std::string scoped(int step, const std::string& instruction)
{
    return "Change only pipeline step " + std::to_string(step) + " as follows.\n" + instruction
        + "\nKeep every other pipeline step, their order, the trigger, and the worker's creation contract unchanged.";
}

} // namespace

TEST(WorkerRevision, ScopedToOneStepEveryOtherStepAndKeyStaysByteIdentical)
{
    const json before = priceWatch();
    for (const char* instruction : {"Rename to “Compare prices”", "Make it a tool step that emails the team",
                                    "Be brief and name the source", "Run it every hour"}) {
        const json after = revised(scoped(2, instruction));
        EXPECT_EQ(after["playbook"][0].dump(), before["playbook"][0].dump()) << instruction;
        EXPECT_EQ(after["playbook"][2].dump(), before["playbook"][2].dump()) << instruction;
        EXPECT_NE(after["playbook"][1], before["playbook"][1]) << instruction;
        for (const auto& [key, value] : before.items())
            EXPECT_TRUE(key == "playbook" || after[key].dump() == value.dump()) << instruction << " changed " << key;
        EXPECT_EQ(after["mode"], "ready");
    }
    EXPECT_EQ(revised(scoped(2, "Rename to “Compare prices”."))["playbook"][1]["name"], "Compare prices");
    EXPECT_EQ(
        revised(scoped(2, "Make it a tool step that emails the team"))["playbook"][1],
        (json{{"type", "tool"}, {"name", "Deliver result"}, {"tool_id", "send_email"}, {"args", json::object()}}));
    EXPECT_EQ(revised(scoped(2, "Be brief"))["playbook"][1]["prompt"], "Compare them Be brief.");
    EXPECT_EQ(revised(scoped(1, "Be brief"))["playbook"][0]["instructions"], "Note prices Be brief.");
    EXPECT_EQ(revised(scoped(3, "Be brief"))["playbook"][2]["args"], (json{{"channel", "#x"}, {"note", "Be brief."}}));

    const json removed = revised(scoped(2, "Remove it"));
    ASSERT_EQ(removed["playbook"].size(), 2u);
    EXPECT_EQ(removed["playbook"][1], before["playbook"][2]);
    EXPECT_EQ(refusal(scoped(4, "Be brief")), "There is no step 4 in this worker.");
}

TEST(WorkerRevision, WholeDraftInstructionsRenameRetypeAddRemoveRetriggerOrAppend)
{
    EXPECT_EQ(revised("Call it 'Rival prices'. Thanks")["name"], "Rival prices");
    // The new name's words are not read again as a trigger.
    const json hourly = revised("rename to Hourly digest");
    EXPECT_EQ(hourly["name"], "Hourly digest");
    EXPECT_EQ(hourly["trigger"], priceWatch()["trigger"]);

    const json retyped = revised("Make step 3 a llm step");
    EXPECT_EQ(retyped["playbook"][2]["type"], "llm");
    EXPECT_EQ(retyped["playbook"][2]["name"], "Reason over results");
    EXPECT_FALSE(retyped["playbook"][2].contains("tool_id"));
    EXPECT_FALSE(retyped["playbook"][2]["prompt"].get<std::string>().empty());

    const json browse = revised("Add a browse step to read https://example.org/prices. Then stop.");
    ASSERT_EQ(browse["playbook"].size(), 4u);
    EXPECT_EQ(browse["playbook"][3]["url"], "https://example.org/prices");
    EXPECT_EQ(browse["playbook"][3]["name"], "Collect source");
    EXPECT_EQ(revised("add an llm step that lists risks")["playbook"][3]["prompt"], "Lists risks.");

    EXPECT_EQ(revised("Remove the compare step")["playbook"].size(), 2u);
    EXPECT_EQ(revised("remove step 1")["playbook"][0]["name"], "Compare");
    EXPECT_EQ(refusal("remove step 7"), "There is no step 7 in this worker.");
    EXPECT_EQ(refusal("Remove the missing step"), "There is no step named “missing” in this worker.");

    EXPECT_EQ(revised("Run it every week")["trigger"], (json{{"type", "schedule"}, {"intervalMinutes", 10080}}));
    EXPECT_EQ(revised("Make it manual")["trigger"], (json{{"type", "manual"}}));
    json typed = priceWatch();
    typed["trigger_type"] = "manual";
    EXPECT_EQ(revised("Run it daily", typed)["trigger_type"], "schedule");

    const json tone = revised("use a friendlier tone");
    EXPECT_EQ(tone["playbook"][1]["prompt"], "Compare them Use a friendlier tone.");
    EXPECT_EQ(tone["playbook"][0], priceWatch()["playbook"][0]);
    json noLlm = priceWatch();
    noLlm["playbook"].erase(1);
    EXPECT_EQ(revised("Be kind", noLlm)["system_prompt"], "You watch prices. Be kind.");
}

TEST(WorkerRevision, WorkerTitlesComeFromTheBriefWhenNoNameIsGiven)
{
    EXPECT_EQ(workerTitle(readBrief("Send me a weekly pricing digest of our rivals")), "Weekly pricing digest");
    EXPECT_EQ(workerTitle(readBrief("Check the inbox every hour")), "Inbox worker");
    EXPECT_EQ(workerTitle(readBrief("A digest named Nova")), "Nova");
    EXPECT_EQ(workerTitle(readBrief("please, to the")), "Operations assistant");
}

namespace {

// A service in a temporary folder, its routes added (so its worker runtime runs) but not
// serving: runs are started and stopped directly.
class ServiceInProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GE(sodium_init(), 0);
        std::string pattern = (std::filesystem::temp_directory_path() / "halvex-workers-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    std::unique_ptr<Service> start()
    {
        auto s = std::make_unique<Service>();
        s->opt.dataDir = m_dir;
        s->opt.runStepSeconds = 60;
        openStore(*s);
        m_server = std::make_unique<httplib::Server>();
        configureServer(*m_server, *s);
        return s;
    }
    std::string queueRun(Service& s)
    {
        json worker = agentJson("a-w", "W", "", "worker");
        worker["playbook"] = json::array({{{"type", "llm"}, {"name", "Think"}, {"prompt", "Think"}}});
        workers::NewRun run{1, "a-w", "manual", {}, {}, {}, workers::plannedSteps(worker["playbook"])};
        std::string id;
        s.db->transaction([&] {
            insertAgent(s, 1, worker);
            id = workers::insertRun(s, run);
        });
        return id;
    }
    std::pair<std::string, std::string> statusOf(Service& s, const std::string& runId)
    {
        const json run = *workers::findRun(s, 1, runId);
        return {run["status"], run["error_message"].is_string() ? run["error_message"].get<std::string>() : ""};
    }

    std::string m_dir;
    std::unique_ptr<httplib::Server> m_server;
};

} // namespace

TEST_F(ServiceInProcess, AServiceGoingAwayStopsItsRunsAndARestartClosesWhatWasLeftRunning)
{
    std::string stopped, left;
    {
        auto s = start();
        stopped = queueRun(*s);
        s->workers->launch(stopped, "a-w");
        EXPECT_EQ(statusOf(*s, stopped).first, "running");
        // What a killed process leaves: a run marked running, its step shown running.
        left = workers::insertRun(*s, {1, "a-w", "schedule", {}, {}, {}, json::array()});
        const json open = insertMessage(*s->db, "a-w", {"step", "Running", {{"status", "running"}}});
        s->db->execute("UPDATE workflow_runs SET status = 'running', open_message_id = ? WHERE id = ?",
                       {open["id"].get<long long>(), left});
        m_server.reset();
    } // the runtime stops and joins its threads before the store closes

    auto s = start();
    EXPECT_EQ(statusOf(*s, stopped),
              std::make_pair(std::string("error"), std::string("The service stopped during this run.")));
    EXPECT_EQ(statusOf(*s, left),
              std::make_pair(std::string("error"), std::string("The service restarted during this run.")));
    const json history = historyAnswer(*s->db, "a-w", {});
    for (const auto& m : history["messages"])
        EXPECT_EQ(m["metadata"]["status"], "failed") << m.dump();
}
