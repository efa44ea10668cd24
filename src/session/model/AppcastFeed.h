#pragma once
// Reading the update feed (an appcast): just the tags the badge and the updater need.
#include <QString>
#include <QUrl>

#include <optional>

namespace halvex {

namespace AppcastFeed {
// The text between the first "<tag>" and the next "</tag>" after it, trimmed.
std::optional<QString> tagValue(const QString& feed, const QString& tag);
// The version to advertise when the feed offers a build newer than `localBuild`.
std::optional<QString> advertisedVersion(const QString& feed, qint64 localBuild);
// The download address of the first enclosure, when it is http or https.
std::optional<QUrl> downloadURL(const QString& feed);
} // namespace AppcastFeed

} // namespace halvex
