#pragma once
// Avatar and attachment addresses, which the service may send relative to its own origin.
#include <QString>
#include <QUrl>

#include <optional>

namespace halvex::URLResolver {

// `base` defaults to the deployment's service origin.
std::optional<QUrl> absolute(const std::optional<QString>& raw);
std::optional<QUrl> absolute(const std::optional<QString>& raw, const QUrl& base);

} // namespace halvex::URLResolver
