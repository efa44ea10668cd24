#pragma once
// Addresses under the service origin: the path percent-encoded (so it can carry neither a query
// nor a fragment), then the query items in the given order.
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

namespace halvex {

// Query items in the order they are sent.
using QueryItems = QList<QPair<QString, QString>>;

// `path` may start with "/"; "api/v2/x" and "/api/v2/x" give the same address.
QUrl serviceURL(const QString& originText, const QString& path, const QueryItems& query = {});

} // namespace halvex
