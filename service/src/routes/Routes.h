#pragma once
// Each route family registers its handlers on the server; main() calls them in order.
#include "Service.h"

#include <httplib.h>

namespace service {

void addAuthRoutes(httplib::Server& svr, Service& s);
void addAgentRoutes(httplib::Server& svr, Service& s);
void addAppcastRoutes(httplib::Server& svr, Service& s);
void addTestRoutes(httplib::Server& svr, Service& s);

} // namespace service
