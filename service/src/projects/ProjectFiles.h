#pragma once
// Files and links of a project. Uploads are written under the data folder by their file id
// alone, so no name a client sends ever becomes part of a path.
#include "projects/ProjectStore.h"

#include <httplib.h>

#include <filesystem>

namespace service {

inline constexpr size_t kMaxUploadFiles = 20;
inline constexpr size_t kMaxUploadBytes = 10 * 1024 * 1024;

// The name shown for an upload: its last path piece, without control characters or leading
// dots, at most 120 bytes; "file" when nothing is left.
std::string sanitizeFileName(const std::string& name);
std::filesystem::path projectFilesDir(const Service& s, const std::string& projectId);

// {"files": the stored files, "failed": [{"name", "error"}]}: one bad part never sinks the others.
json storeUploads(Service& s, const ProjectRef& project, const httplib::MultipartFormDataMap& parts);
// The refusal text when a link is not an http(s) address.
std::optional<std::string> addLinks(Service& s, const ProjectRef& project, const json& links);

} // namespace service
