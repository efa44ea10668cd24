#pragma once
// Changes to a project's tasks and memory. Each returns the refusal text, or nothing when the
// change was written; callers run them inside a refusable transaction.
#include "projects/ProjectStore.h"

namespace service {

std::optional<std::string> addProjectTask(Service& s, long long uid, const ProjectRef& project, const json& body);
// "status" and/or an assignee ("assignee_kind" with "agent_id" or "team_slug").
std::optional<std::string> changeProjectTask(Service& s, long long uid, const ProjectRef& project,
                                             const std::string& taskId, const json& body);
// "note", "delete_note_id" or "blocks".
std::optional<std::string> changeProjectMemory(Service& s, const ProjectRef& project, const json& body);
// The project's own fields: "label", "brief", "status", "settings".
std::optional<std::string> changeProject(Service& s, const ProjectRef& project, const json& body);

} // namespace service
