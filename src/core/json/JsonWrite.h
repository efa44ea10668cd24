#pragma once
// Building JSON objects field by field: optional values are left out when absent.
#include "core/json/JSONValue.h"

#include <QStringList>

#include <optional>

namespace halvex {

inline JSONValue toJSON(const QString& v) { return JSONValue(v); }
inline JSONValue toJSON(bool v) { return JSONValue(v); }
inline JSONValue toJSON(int v) { return JSONValue(v); }
inline JSONValue toJSON(qint64 v) { return JSONValue(v); }
inline JSONValue toJSON(double v) { return JSONValue(v); }
inline JSONValue toJSON(const JSONValue& v) { return v; }
inline JSONValue toJSON(const JSONObject& v) { return JSONValue(v); }

// Records with `JSONObject encode() const`.
template <typename T>
auto toJSON(const T& record) -> decltype(record.encode(), JSONValue())
{
    return JSONValue(record.encode());
}

template <typename E>
JSONValue toJSON(const QList<E>& list)
{
    JSONArray out;
    out.reserve(list.size());
    for (const auto& e : list)
        out.append(toJSON(e));
    return JSONValue(std::move(out));
}

template <typename E>
JSONValue toJSON(const QMap<QString, E>& map)
{
    JSONObject out;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        out.insert(it.key(), toJSON(it.value()));
    return JSONValue(std::move(out));
}

template <typename T>
void insertIfPresent(JSONObject& object, const char* key, const std::optional<T>& value)
{
    if (value)
        object.insert(QLatin1String(key), toJSON(*value));
}

} // namespace halvex
