// The researcher's memory: facts it learned about the user, notes the user taught it, a table,
// an image and a brief in its files, its skills; and the facts the growth team shares.
#include "demo/DemoSeed.h"

#include "agents/AgentStore.h"
#include "core/Http.h"
#include "memory/FactBlob.h"

#include <filesystem>
#include <fstream>

namespace service {

namespace {

const char* const kAgent = "a-researcher";

// A 16 × 16 warm gradient: a real image for the file list and the image previews.
const char* const kMoodboardPng
    = "89504e470d0a1a0a0000000d494844520000001000000010080200000090916836000001db4944415478da0dcba1ae86200080d1ff39bf"
      "2731994c8ce008cec0088cc0088ec00ccee0088ce00c772493c9e7b89e7e7e6fc7dbf30ebc8277e49d7835afe5f5bc0b6fe2dd780fde"
      "c27bf2fef17b3a9e9e67e0113c23cfc4a3792c8fe7597812cfc673f0149e93e70b77c7dd730fdc827be49eb835b7e5f6dc0b77e2deb80f"
      "eec27d727fa175b49e36d0046da44d344db3344f5b6889b6d10e5aa19db42f5c1d57cf357009ae916be2d25c96cb732d5c896be33ab80a"
      "d7c9f585da517bea4015d4913a5135d5523d75a126ea463da8857a52bf903b724f1ec8823c9227b2265bb2272fe444dec807b9904ff217"
      "f68ebd671fd805fbc83eb16b76cbeed917f6c4beb11fec85fd64ffc2dab1f6ac03ab601d592756cd6a593debc29a5837d683b5b09eac5f"
      "881db1270e44411c891351132dd1131762226ec483588827f10ba123f48481200823612268822578c24248848d70100ae1247cc175b81e"
      "37e0046ec44d388db3388f5b7009b7e10e5cc19db82f980ed363068cc08c9809a33116e3310b266136cc81299813f385b963ee990766c1"
      "3c324fcc9ad9327be68539316fcc0773613e99bfa03a548f1a500235a22694465994472da884da5007aaa04ed4176487ec9103522047e4"
      "84d4488bf4c80599901bf24016e489fce31f33e7b810ad6658650000000049454e44ae426082";

std::string fromHex(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

void seedFacts(Service& s, long long uid)
{
    auto agent = findAgent(s, uid, kAgent);
    if (!agent)
        return;
    (*agent)["user_metadata_md"]
        = joinFacts({"### Preference\nPrefers short summaries with the sources listed at the end.",
                     "### Location\nBased in Leeds, working with partners in Lisbon and Berlin.",
                     "### Budget\nBudget is $400 a month for research tools."});
    (*agent)["knowledge_urls"] = json::array({"https://docs.halvex.example/research/sources"});
    (*agent)["knowledge_base"] = "Cite at least two independent sources. Flag any figure older than 18 months.";
    (*agent)["skills"] = json::array({{{"skill_id", "sk-competitor-scan"},
                                       {"name", "Competitor scan"},
                                       {"description", "Finds direct and indirect competitors and compares them."},
                                       {"content",
                                        "1. List competitors from search and review sites.\n2. Compare "
                                        "plans, prices and positioning.\n3. Summarise in a table."}}});
    (*agent)["generated_skills"]
        = json::array({{{"name", "Source check"},
                        {"description", "Checks that every claim has a dated, independent source."},
                        {"content", "For each claim, find a second source and note its date."}}});
    saveAgent(s, uid, *agent);

    s.db->execute(
        "INSERT INTO memory_workspaces (user_id, workspace, worker_user_facts, updated_at) VALUES (?, ?, ?, ?)",
        {uid, std::string("team:growth"),
         joinFacts({"### Audience\nSpeaks to operations leads at B2B companies of 10 to 200 people.",
                    "### Tone\nPlain and friendly; never uses countdown timers."}),
         nowIso()});
}

void seedNotesAndTable(Service& s, long long uid)
{
    const std::tuple<const char*, const char*, const char*, const char*> notes[] = {
        {"mn-demo-fiscal", "", "Our fiscal year starts in April.", "2025-03-01T09:00:00.000Z"},
        {"mn-demo-interviews", "Interview style",
         "Keep customer interviews under 30 minutes and send the questions a day ahead.", "2025-03-04T09:00:00.000Z"}};
    for (const auto& [id, title, body, at] : notes)
        s.db->execute("INSERT INTO memory_notes (id, user_id, agent_id, title, body, created_at, updated_at) VALUES "
                      "(?, ?, ?, ?, ?, ?, ?)",
                      {std::string(id), uid, std::string(kAgent), std::string(title), std::string(body),
                       std::string(at), std::string(at)});

    const json columns = json::array({{{"id", "company"}, {"name", "Company"}, {"type", "text"}},
                                      {{"id", "plan"}, {"name", "Entry plan"}, {"type", "text"}},
                                      {{"id", "price"}, {"name", "Price per seat"}, {"type", "number"}}});
    s.db->execute("INSERT INTO chat_tables (id, user_id, agent_id, name, description, columns, created_at, updated_at) "
                  "VALUES ('tbl-demo-pricing', ?, ?, 'Competitor pricing', 'Entry plans checked in March', ?, ?, ?)",
                  {uid, std::string(kAgent), columns.dump(), nowIso(), nowIso()});
    const std::tuple<const char*, const char*, int> rows[]
        = {{"Chartwell", "Starter", 12}, {"Metricly", "Team", 18}, {"Sheetsmith", "Basic", 8}};
    long long position = 0;
    for (const auto& [company, plan, price] : rows) {
        ++position;
        s.db->execute("INSERT INTO chat_table_rows (table_id, position, id, data) VALUES ('tbl-demo-pricing', ?, ?, ?)",
                      {position, "row-" + std::to_string(position),
                       json{{"company", company}, {"plan", plan}, {"price", price}}.dump()});
    }
}

void seedFiles(Service& s, long long uid)
{
    const std::filesystem::path folder = std::filesystem::path(s.opt.dataDir) / "chat-files";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::tuple<const char*, const char*, const char*, std::string> files[]
        = {{"demomoodboard01", "moodboard.png", "image/png", fromHex(kMoodboardPng)},
           {"demoresearchbrief", "research-brief.md", "text/markdown",
            "# Research brief\n\nWho buys analytics for teams of 10 to 200, and what do they pay today?\n"}};
    for (const auto& [key, name, mime, bytes] : files) {
        const auto path = folder / (std::string(key) + "-" + name);
        std::ofstream(path, std::ios::binary) << bytes;
        s.db->execute("INSERT INTO chat_files (key, user_id, chat_key, name, mime, size, path, created_at) VALUES (?, "
                      "?, ?, ?, ?, ?, ?, ?)",
                      {std::string(key), uid, std::string(kAgent), std::string(name), std::string(mime),
                       static_cast<long long>(bytes.size()), path.string(), nowIso()});
    }
}

} // namespace

void seedMemory(Service& s, long long userId)
{
    seedFacts(s, userId);
    seedNotesAndTable(s, userId);
    seedFiles(s, userId);
}

} // namespace service
