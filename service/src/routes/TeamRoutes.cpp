#include "routes/Routes.h"

namespace service {

void addTeamRoutes(httplib::Server&, Service&) {}

} // namespace service
