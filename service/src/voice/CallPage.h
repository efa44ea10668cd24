#pragma once
// The page a voice call runs in, served at /_voice/call.html for the app's web view.
#include <string>

namespace service::voice {

const std::string& callPageHtml();

} // namespace service::voice
