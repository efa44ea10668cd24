#pragma once
// The workflow marketplace: the ready-made workflows, then every worker a user published, in
// pages; and adding one as a private copy, once per user.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>
#include <vector>

namespace service::workers {

inline constexpr size_t kWorkflowPageSize = 12;

struct WorkflowItem {
    std::string id; // the ready-made workflow's id, or the published worker's agent id
    std::string name;
    std::string description;
    std::string role;
    std::string creatorFullName;
    std::string creatorHandle;
    long long baseInstalls = 0;
    long long ownerId = 0; // the user who published it; 0 for a ready-made one
    json playbook;
};

// {"workflows": up to a page from `offset`, "next_cursor" unless it is the last page}.
json workflowPage(Service& s, long long uid, size_t offset);

struct InstallOutcome {
    int status = 201;
    json body; // {"agent", "id"}, or the error with "installed_agent_id"
};
// Runs inside the caller's transaction, so two adds at once cannot both copy.
InstallOutcome installWorkflow(Service& s, long long uid, const std::string& itemId);

} // namespace service::workers
