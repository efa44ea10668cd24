#pragma once
// Creating a project: from a name alone, or from an intake with its profile and the evidence the
// intake read from the website. A repeated create with the same "creation_request_id" answers
// the project the first one made.
#include "core/Http.h"
#include "core/Service.h"

#include <httplib.h>

namespace service {

inline constexpr size_t kMaxCreateProjectBody = 256 * 1024;

void createProject(Service& s, long long uid, const json& body, httplib::Response& res);

} // namespace service
