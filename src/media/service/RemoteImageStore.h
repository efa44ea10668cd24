#pragma once
// Service images (avatars, badges, chat thumbnails, artifact images), downloaded with the
// session's cookies, decoded off the GUI thread straight to the size they are shown at, and
// kept in one bounded memory cache. A failure is never reported: the caller shows its placeholder.
#include "core/net/APIClient.h"
#include "media/model/RemoteImageRequest.h"

#include <QImage>

#include <qcorotask.h>

namespace halvex {

namespace RemoteImageStore {

inline constexpr int maxEntries = 240;
inline constexpr qint64 maxCostBytes = 100'663'296; // 96 MiB of raster
inline constexpr qint64 maxDownloadBytes = 33'554'432;

// The image, or nothing. Concurrent loads of one key share one download. GUI thread only.
QCoro::Task<std::optional<QImage>> load(APIClient& api, RemoteImageRequest request);
// Empties the memory cache (a hidden window, low memory).
void clear();
int cachedCount();
// Downloads started so far; for tests.
int downloadCount();

} // namespace RemoteImageStore

namespace RemoteImageProcessor {

// Decodes `bytes` (orientation applied) straight to the request's output size; a null image on failure.
QImage image(const QByteArray& bytes, const RemoteImageRequest& request);
// Whether an answer of this MIME type may be an image (empty: not said, accepted).
bool acceptsType(const QString& mime);

} // namespace RemoteImageProcessor

} // namespace halvex
