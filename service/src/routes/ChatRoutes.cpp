#include "routes/Routes.h"

namespace service {

void addChatRoutes(httplib::Server&, Service&) {}

} // namespace service
