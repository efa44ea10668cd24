#include "chat/ChatFiles.h"

#include "core/Crypto.h"
#include "core/Utf8.h"

#include <filesystem>
#include <fstream>

namespace service {

namespace {

bool looksTextual(const std::string& name, const std::string& mime)
{
    if (mime.rfind("text/", 0) == 0 || mime == "application/json")
        return true;
    for (const char* ext : {".txt", ".md", ".csv", ".json", ".log"}) {
        const std::string e(ext);
        if (name.size() >= e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0)
            return true;
    }
    return false;
}

// Names and text from a multipart body may hold any bytes; answers must stay valid JSON.
std::string validUtf8(const std::string& s)
{
    return json::parse(json(s).dump(-1, ' ', false, json::error_handler_t::replace)).get<std::string>();
}

std::string diskName(const std::string& name)
{
    std::string out;
    for (unsigned char c : name)
        out += (std::isalnum(c) || c == '.' || c == '-' || c == '_') ? char(c) : '_';
    return out.substr(0, 80);
}

} // namespace

std::string safeFileName(const std::string& raw)
{
    std::string base = raw.substr(raw.find_last_of("/\\") == std::string::npos ? 0 : raw.find_last_of("/\\") + 1);
    base = validUtf8(base);
    std::string out;
    for (unsigned char c : base) {
        if (c < 0x20 || c == 0x7f)
            continue;
        out += std::string("<>:\"|?*").find(char(c)) != std::string::npos ? '_' : char(c);
    }
    const auto first = out.find_first_not_of(" .");
    const auto last = out.find_last_not_of(" .");
    out = first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
    out = utf8Prefix(out, 120);
    return out.empty() ? "file" : out;
}

json storeChatFile(Service& s, long long uid, const std::string& chatKey, const std::string& rawName,
                   const std::string& mime, const std::string& bytes)
{
    const std::string name = safeFileName(rawName);
    const std::string type = mime.empty() ? "application/octet-stream" : validUtf8(mime);
    json file{{"name", name}, {"size", bytes.size()}, {"mime", type}};
    if (bytes.size() > kMaxChatFileBytes) {
        file["ok"] = false;
        file["error"] = "“" + name + "” is larger than 10 MB.";
        return file;
    }
    const std::string key = randomHex(12);
    const std::filesystem::path folder = std::filesystem::path(s.opt.dataDir) / "chat-files";
    const std::filesystem::path path = folder / (key + "-" + diskName(name));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (ec || !out) {
        std::filesystem::remove(path, ec);
        file["ok"] = false;
        file["error"] = "Could not store “" + name + "”: the service's disk is full or not writable.";
        return file;
    }
    s.db->execute("INSERT INTO chat_files (key, user_id, chat_key, name, mime, size, path, created_at) VALUES (?, ?, "
                  "?, ?, ?, ?, ?, ?)",
                  {key, uid, chatKey, name, type, static_cast<long long>(bytes.size()), path.string(), nowIso()});
    file["key"] = key;
    file["url"] = chatFileUrl(s, key);
    file["ok"] = true;
    if (type.rfind("image/", 0) == 0)
        file["kind"] = "image";
    else if (looksTextual(name, type)) {
        file["kind"] = "text";
        file["text"] = validUtf8(utf8Prefix(bytes, 20000));
    } else
        file["kind"] = "file";
    return file;
}

std::optional<ChatFile> findChatFile(Service& s, long long uid, const std::string& key)
{
    const auto rows = s.db->query("SELECT name, mime, path FROM chat_files WHERE key = ? AND user_id = ?", {key, uid});
    if (rows.empty())
        return std::nullopt;
    return ChatFile{text(rows[0][0]), text(rows[0][1]), text(rows[0][2])};
}

std::string chatFileUrl(Service& s, const std::string& key) { return s.origin() + "/api/v2/chat-files/" + key; }

} // namespace service
