#include "routes/Routes.h"

namespace service {

void addStreamRoutes(httplib::Server&, Service&) {}

} // namespace service
