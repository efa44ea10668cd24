#pragma once
// Each feature registers its handlers on the server; configureServer() calls them in order.
#include "core/Service.h"

#include <httplib.h>

namespace service {

void addAuthRoutes(httplib::Server& svr, Service& s);
void addAgentRoutes(httplib::Server& svr, Service& s);
void addAppcastRoutes(httplib::Server& svr, Service& s);
void addChatRoutes(httplib::Server& svr, Service& s);
void addStreamRoutes(httplib::Server& svr, Service& s);
void addGoogleRoutes(httplib::Server& svr, Service& s);
void addTeamRoutes(httplib::Server& svr, Service& s);
void addProjectRoutes(httplib::Server& svr, Service& s);
void addGenerationRoutes(httplib::Server& svr, Service& s);
void addMarketplaceRoutes(httplib::Server& svr, Service& s);
void addAvatarRoutes(httplib::Server& svr, Service& s);
void addApiKeyRoutes(httplib::Server& svr, Service& s);
// Also starts the worker runtime (runs and the schedule ticker), held by the Service.
void addWorkerRoutes(httplib::Server& svr, Service& s);
void addWorkflowMarketplaceRoutes(httplib::Server& svr, Service& s);
void addGovernanceRoutes(httplib::Server& svr, Service& s);
void addConnectionRoutes(httplib::Server& svr, Service& s);
void addChannelRoutes(httplib::Server& svr, Service& s);
void addExternalKeyRoutes(httplib::Server& svr, Service& s);
void addWalletRoutes(httplib::Server& svr, Service& s);
// The web store's HTML pages under /store/, for the browser the app opens.
void addStoreRoutes(httplib::Server& svr, Service& s);
void addIntakeRoutes(httplib::Server& svr, Service& s);
// The demo companies' websites under /demo-sites/, which the intake reads.
void addDemoSiteRoutes(httplib::Server& svr, Service& s);
void addMemoryRoutes(httplib::Server& svr, Service& s);
// Dictation and voice calls with their call page; also starts the voice runtime.
void addVoiceRoutes(httplib::Server& svr, Service& s);
// The employees' computers and their live views; also starts the computer runtime.
void addComputerRoutes(httplib::Server& svr, Service& s);
void addTestRoutes(httplib::Server& svr, Service& s);

} // namespace service
