#pragma once
// Which strings may be opened or shown as a link: only http(s) addresses with a host.
#include <QString>
#include <QUrl>

#include <optional>

namespace halvex::SafeHTTPURL {

std::optional<QUrl> parse(const std::optional<QString>& raw);

} // namespace halvex::SafeHTTPURL
