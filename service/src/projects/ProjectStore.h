#pragma once
// Projects and what hangs off them, read into the JSON shapes the project endpoints answer.
#include "core/Http.h"
#include "core/Service.h"

#include <optional>
#include <string>

namespace service {

struct ProjectRef {
    std::string id;
    std::string slug;
};

std::optional<ProjectRef> findProject(Service& s, long long uid, const std::string& slug);
json projectJson(Service& s, const std::string& projectId);
json projectListJson(Service& s, long long uid);
// "Launch" -> "launch", then "launch-2", … when the user already has one.
std::string uniqueProjectSlug(Service& s, long long uid, const std::string& label);

// Adds an employee ("agent", its id) or a team ("team", its slug) to the project's members.
void addProjectMember(Service& s, const ProjectRef& project, const std::string& kind, const std::string& ref,
                      const std::string& note);
json membersJson(Service& s, long long uid, const std::string& projectId);
json filesJson(Service& s, const std::string& projectId);
json tasksJson(Service& s, long long uid, const std::string& projectId);
json memoryJson(Service& s, const std::string& projectId);
json tableJson(Service& s, const std::string& tableId);
// Newest first, older than `before` when given; "has_more" and "next_before" page further.
json eventsPage(Service& s, const std::string& projectId, std::optional<long long> before, int limit);
json usageJson(Service& s, const std::string& projectId);

void logProjectEvent(Service& s, const std::string& projectId, const std::string& kind, const std::string& actor,
                     const std::string& title, const std::string& detail = "");
// Removes the project's rows; the caller removes its stored files.
void deleteProjectRows(Service& s, const std::string& projectId);

} // namespace service
