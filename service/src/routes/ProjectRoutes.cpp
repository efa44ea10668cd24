#include "routes/Routes.h"

namespace service {

void addProjectRoutes(httplib::Server&, Service&) {}

} // namespace service
