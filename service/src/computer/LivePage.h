#pragma once
// The live view of an employee's browser: its newest frame, refreshed in place.
#include <string>

namespace service {

// `sessionId` and `agentName` are escaped here; `unavailable` replaces the frame when set.
std::string livePageHtml(const std::string& sessionId, const std::string& agentName, const std::string& unavailable);
std::string endedPageHtml();

} // namespace service
