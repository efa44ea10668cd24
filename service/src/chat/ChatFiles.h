#pragma once
// Files attached to chat turns and files the employees produce, kept under the data folder
// and served back by key to their owner.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>

namespace service {

inline constexpr size_t kMaxChatFileBytes = 10 * 1024 * 1024;
inline constexpr size_t kMaxChatFilesPerUpload = 10;

// A display name that cannot leave its folder or carry control characters.
std::string safeFileName(const std::string& raw);

// The attachment answer for one file: "ok" true with key and address, or "ok" false with "error".
json storeChatFile(Service& s, long long uid, const std::string& chatKey, const std::string& name,
                   const std::string& mime, const std::string& bytes);

struct ChatFile {
    std::string name;
    std::string mime;
    std::string path;
};
std::optional<ChatFile> findChatFile(Service& s, long long uid, const std::string& key);
std::string chatFileUrl(Service& s, const std::string& key);

} // namespace service
