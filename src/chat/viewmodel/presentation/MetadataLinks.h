#pragma once
// Reading names and addresses out of the item objects inside message metadata (a file, image,
// link or artifact entry). Only http and https addresses ever leave here.
#include "core/json/JSONValue.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace halvex::MetadataLinks {

// The first key holding a string that is not blank.
std::optional<QString> firstString(const JSONObject& object, const QStringList& keys);

// The first http or https address among the object's address fields, then inside "result"
// (a string or an object one level deep). Any other scheme is refused and the search goes on.
std::optional<QUrl> firstSafeURL(const JSONObject& object);

// "www.example.com/a" reads "example.com".
QString prettyURLLabel(const QUrl& url);

// The item fields every rule reads the same way.
std::optional<QString> itemName(const JSONObject& item);
std::optional<QString> itemKind(const JSONObject& item);

} // namespace halvex::MetadataLinks
