#pragma once
// The whole service behind one HTTP server: the store opened and migrated, the request guards
// (test paths, fault switches, the origin check, error shapes) and every feature's routes.
#include "core/Service.h"

#include <httplib.h>

namespace service {

// Largest request body: a full upload of 20 files of 10 MB each, plus the multipart framing.
inline constexpr size_t kMaxRequestBytes = 20 * 10 * 1024 * 1024 + 4 * 1024 * 1024;

// Creates the data folder and opens the database at the newest schema.
void openStore(Service& s);
void configureServer(httplib::Server& svr, Service& s);

} // namespace service
