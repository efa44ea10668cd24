#pragma once
// Downloads the update feed. Not an exchange with the service: a plain GET, no cookies.
#include "core/async/CancelToken.h"

#include <QByteArray>
#include <QUrl>

#include <qcorotask.h>

#include <functional>

namespace halvex {

using FeedLoader = std::function<QCoro::Task<QByteArray>(QUrl, CancelToken)>;

// The default loader: throws APIError::transport or server on failure.
FeedLoader plainHTTPFeedLoader();

} // namespace halvex
