#include "routes/Routes.h"

namespace service {

void addGoogleRoutes(httplib::Server&, Service&) {}

} // namespace service
