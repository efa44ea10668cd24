#pragma once
// The workspace an employee shares facts with: its team's when it works in a team, else its own.
// Its "worker_user_facts" are what the memory panel lists as team or workspace memory.
#include "core/Http.h"
#include "core/Service.h"

#include <functional>
#include <string>

namespace service {

struct MemoryWorkspace {
    std::string key;   // "team:<slug>" or "agent:<id>"
    std::string kind;  // "team" or "agent"
    std::string label; // the team's label, or the employee's name
};

MemoryWorkspace workspaceOf(Service& s, long long uid, const json& agent);
inline std::string teamWorkspaceKey(const std::string& slug) { return "team:" + slug; }

// `change` edits the facts in place and answers whether it changed them; they are written back
// in one transaction when it did.
void changeWorkspaceFacts(Service& s, long long uid, const std::string& key,
                          const std::function<bool(std::string&)>& change);
// {"workspace_kind", "workspace_scope", "workspace_key", "workspace_label", "worker_user_facts", "updated_at"}
json memoryProfileJson(Service& s, long long uid, const MemoryWorkspace& workspace);

} // namespace service
