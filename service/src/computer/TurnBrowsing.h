#pragma once
// An employee's browse steps shown in its computer: the chat calls this as a step that opens a
// page starts, and the employee's browser goes to a page of the service's own demo sites (the
// service never browses the open web), so the user can watch the live view.
#include "core/Service.h"

#include <string>

namespace service {

void browseForTurn(Service& s, long long uid, const std::string& agentId, const std::string& url);

} // namespace service
