#pragma once
// Which link addresses may become clickable: http and https with a host, and mailto. Rendering
// checks every address after interpretation; the interface checks each click again.
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

namespace halvex::LinkPolicy {

// The address a link may carry, or nothing when the link must lose it and keep its label.
// White space or control characters anywhere inside (as in "java\tscript:") refuse the address.
std::optional<QUrl> openable(QStringView raw);

bool isOpenable(const QUrl& url);
bool isOpenable(const QString& raw);

} // namespace halvex::LinkPolicy
