#include "projects/ProjectFiles.h"

#include "artifacts/ImageType.h"
#include "core/Crypto.h"
#include "core/Utf8.h"

#include <fstream>

namespace service {

namespace {

const char* mimeFor(const std::string& name)
{
    const auto dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    for (auto& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    static const std::pair<const char*, const char*> table[]
        = {{"pdf", "application/pdf"},
           {"png", "image/png"},
           {"jpg", "image/jpeg"},
           {"jpeg", "image/jpeg"},
           {"gif", "image/gif"},
           {"webp", "image/webp"},
           {"svg", "image/svg+xml"},
           {"txt", "text/plain"},
           {"md", "text/markdown"},
           {"csv", "text/csv"},
           {"json", "application/json"},
           {"html", "text/html"},
           {"zip", "application/zip"},
           {"docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
           {"xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"}};
    for (const auto& [e, mime] : table)
        if (ext == e)
            return mime;
    return "application/octet-stream";
}

// Written beside the target and renamed into place: a full disk leaves no half file behind.
bool writeFile(const std::filesystem::path& target, const std::string& bytes)
{
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    const auto partial = target.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(partial, ec);
            return false;
        }
    }
    std::filesystem::rename(partial, target, ec);
    if (ec)
        std::filesystem::remove(partial, ec);
    return !ec;
}

bool isWebAddress(const std::string& url)
{
    for (const char* scheme : {"http://", "https://"}) {
        const std::string sch = scheme;
        if (url.size() > sch.size() && url.compare(0, sch.size(), sch) == 0) {
            const char first = url[sch.size()];
            return first != '/' && first != '?' && first != '#'
                && url.find_first_of(" \t\r\n<>\"") == std::string::npos;
        }
    }
    return false;
}

} // namespace

std::string sanitizeFileName(const std::string& name)
{
    std::string base = name.substr(name.find_last_of("/\\") == std::string::npos ? 0 : name.find_last_of("/\\") + 1);
    std::string clean;
    for (unsigned char c : base)
        if (c >= 0x20 && c != 0x7F)
            clean += char(c);
    clean = trim(clean);
    while (!clean.empty() && clean[0] == '.')
        clean.erase(0, 1);
    clean = utf8Prefix(trim(clean), 120);
    return clean.empty() ? "file" : clean;
}

std::filesystem::path projectFilesDir(const Service& s, const std::string& projectId)
{
    return std::filesystem::path(s.opt.dataDir) / "project-files" / projectId;
}

json storeUploads(Service& s, const ProjectRef& project, const httplib::MultipartFormDataMap& parts)
{
    json stored = json::array(), failed = json::array();
    size_t accepted = 0;
    for (const auto& [field, part] : parts) {
        if (field != "files")
            continue;
        const std::string name = sanitizeFileName(part.filename);
        if (accepted == kMaxUploadFiles) {
            failed.push_back({{"name", name}, {"error", "Up to 20 files can be uploaded at once."}});
            continue;
        }
        if (part.content.size() > kMaxUploadBytes) {
            failed.push_back({{"name", name}, {"error", "File too large (max 10 MB)."}});
            continue;
        }
        const std::string id = "pf-" + randomHex(8);
        const auto path = projectFilesDir(s, project.id) / id;
        if (!writeFile(path, part.content)) {
            failed.push_back({{"name", name}, {"error", "The file could not be stored."}});
            continue;
        }
        ++accepted;
        const std::string url = s.origin() + "/api/v2/projects/" + project.slug + "/files/" + id + "/content";
        const std::string mime = servedType(part.content_type, part.content, mimeFor(name));
        const std::string at = nowIso();
        s.db->execute(
            "INSERT INTO project_files (id, project_id, name, source, url, mime, size_bytes, stored_path, created_at) "
            "VALUES (?, ?, ?, 'upload', ?, ?, ?, ?, ?)",
            {id, project.id, name, url, mime, static_cast<long long>(part.content.size()), path.string(), at});
        logProjectEvent(s, project.id, "file_added", "You", "Uploaded " + name);
        stored.push_back({{"id", id},
                          {"url", url},
                          {"name", name},
                          {"source", "upload"},
                          {"mime", mime},
                          {"size_bytes", part.content.size()},
                          {"author_agent_id", nullptr},
                          {"created_at", at}});
    }
    if (stored.empty() && failed.empty())
        failed.push_back({{"name", "Selection"}, {"error", "No files were sent."}});
    return {{"files", stored}, {"failed", failed}};
}

std::optional<std::string> addLinks(Service& s, const ProjectRef& project, const json& links)
{
    if (!links.is_array() || links.empty())
        return std::string("links must be a non-empty list of addresses");
    if (links.size() > 50)
        return std::string("Up to 50 links can be added at once.");
    for (const auto& l : links)
        if (!l.is_string() || !isWebAddress(trim(l.get<std::string>())))
            return "Not a web address: " + (l.is_string() ? l.get<std::string>() : l.dump());
    for (const auto& l : links) {
        const std::string url = trim(l.get<std::string>());
        if (!s.db->query("SELECT id FROM project_files WHERE project_id = ? AND url = ?", {project.id, url}).empty())
            continue;
        s.db->execute("INSERT INTO project_files (id, project_id, name, source, url, mime, created_at) "
                      "VALUES (?, ?, ?, 'link', ?, 'text/html', ?)",
                      {"pf-" + randomHex(8), project.id, utf8Prefix(url, 200), url, nowIso()});
        logProjectEvent(s, project.id, "link_added", "You", "Added link " + utf8Prefix(url, 200));
    }
    return std::nullopt;
}

} // namespace service
