#pragma once
// Documents a message or a project links to, downloaded with the session into the cache folder
// so the desktop's application (or an in-app preview) can open them.
#include "core/net/APIClient.h"
#include "media/model/DocumentRouter.h"

#include <qcorotask.h>

namespace halvex::DocumentCache {

// The folder "DocumentRouter" in the user's cache folder, created on first use.
QString dir();
// The local file; fails with TooLarge (writing nothing) or the request's APIError.
QCoro::Task<QString> fetch(APIClient& api, std::optional<QString> name, QUrl url, CancelToken token = {});

} // namespace halvex::DocumentCache
