#pragma once
// Notes the user teaches an employee: short texts it keeps as knowledge, each belonging to one
// employee of one user.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>

namespace service {

inline constexpr size_t kMaxNotesPerAgent = 500;
inline constexpr size_t kMaxNoteChars = 100000;

// {"id", "agent_id", "workspace_scope", "title", "body", "content", "created_at", "updated_at"}
json addMemoryNote(Service& s, long long uid, const std::string& agentId, const std::string& title,
                   const std::string& body);
// Newest first.
json memoryNotesJson(Service& s, long long uid, const std::string& agentId);
std::optional<json> findMemoryNote(Service& s, long long uid, const std::string& agentId, const std::string& noteId);
size_t memoryNoteCount(Service& s, long long uid, const std::string& agentId);
bool deleteMemoryNote(Service& s, long long uid, const std::string& agentId, const std::string& noteId);

} // namespace service
