#pragma once
// Route families of the chat beside the history and send routes.
#include "core/Service.h"

#include <httplib.h>

namespace service {

void addApprovalRoutes(httplib::Server& svr, Service& s);
void addArtifactRoutes(httplib::Server& svr, Service& s);
void addGoalRoutes(httplib::Server& svr, Service& s);
void addSuggestionRoutes(httplib::Server& svr, Service& s);

} // namespace service
