#include "memory/AgentKnowledge.h"

#include "chat/ChatFiles.h"

namespace service {

namespace {

// The employee's chat files it still knows: those the user has not taken out of its knowledge.
const std::string kKnownFiles = "FROM chat_files f WHERE f.user_id = ? AND f.chat_key = ? AND NOT EXISTS (SELECT 1 "
                                "FROM memory_removed_files r WHERE r.user_id = f.user_id AND r.agent_id = f.chat_key "
                                "AND r.file_key = f.key)";

std::string kindOf(const std::string& mime)
{
    if (mime.rfind("image/", 0) == 0)
        return "image";
    for (const char* doc : {"text/", "application/pdf", "application/json", "officedocument", "msword"})
        if (mime.find(doc) != std::string::npos)
            return "document";
    return "file";
}

std::string textIn(const json& o, std::initializer_list<const char*> keys)
{
    for (const char* key : keys)
        if (o.contains(key) && o[key].is_string() && !o[key].get<std::string>().empty())
            return o[key].get<std::string>();
    return {};
}

// The file key of a chat file's address on this service, or empty.
std::string chatFileKey(Service& s, const std::string& url)
{
    const std::string prefix = chatFileUrl(s, "");
    const std::string path = "/api/v2/chat-files/";
    if (url.rfind(prefix, 0) == 0)
        return url.substr(prefix.size());
    // The same file asked for by its path alone, or from another name of the loopback origin.
    const size_t at = url.find(path);
    return at == std::string::npos ? std::string() : url.substr(at + path.size());
}

} // namespace

json agentFilesJson(Service& s, long long uid, const std::string& agentId)
{
    json out = json::array();
    const auto rows = s.db->query("SELECT key, name, mime, size, created_at " + kKnownFiles
                                      + " ORDER BY created_at DESC, rowid DESC LIMIT 500",
                                  {uid, agentId});
    for (const auto& r : rows)
        out.push_back({{"url", chatFileUrl(s, text(r[0]))},
                       {"name", text(r[1])},
                       {"kind", kindOf(text(r[2]))},
                       {"mime", text(r[2])},
                       {"size", integer(r[3])},
                       {"created_at", text(r[4])}});
    return out;
}

bool removeAgentFile(Service& s, long long uid, const std::string& agentId, const std::string& url)
{
    const std::string key = chatFileKey(s, url);
    if (key.empty())
        return false;
    bool found = false;
    s.db->transaction([&] {
        found = !s.db->query("SELECT 1 " + kKnownFiles + " AND f.key = ?", {uid, agentId, key}).empty();
        if (found)
            s.db->execute("INSERT INTO memory_removed_files (user_id, agent_id, file_key) VALUES (?, ?, ?)",
                          {uid, agentId, key});
    });
    return found;
}

json agentSkillsJson(const json& agent)
{
    json out = json::array();
    for (const auto& [listKey, source] :
         {std::pair{"skills", "attached"}, std::pair{"generated_skills", "generated"}}) {
        if (!agent.contains(listKey) || !agent[listKey].is_array())
            continue;
        size_t index = 0;
        for (const auto& skill : agent[listKey]) {
            ++index;
            if (!skill.is_object())
                continue;
            std::string id = textIn(skill, {"skill_id", "id"});
            if (id.empty())
                id = std::string(source) + "-" + std::to_string(index);
            out.push_back({{"skill_id", id},
                           {"name", textIn(skill, {"name", "title"})},
                           {"description", textIn(skill, {"description", "summary"})},
                           {"content", textIn(skill, {"content", "instructions", "body"})},
                           {"source", source}});
        }
    }
    return out;
}

} // namespace service
