#pragma once
// Reading numbers and optional texts out of SQLite rows.
#include "core/Database.h"

#include <optional>
#include <string>

namespace service {

inline double realOf(const SqlValue& v)
{
    return std::holds_alternative<double>(v) ? std::get<double>(v) : static_cast<double>(integer(v));
}
inline std::optional<std::string> optionalText(const SqlValue& v)
{
    if (isNull(v))
        return std::nullopt;
    return text(v);
}
inline SqlValue orNull(const std::optional<std::string>& v) { return v ? SqlValue(*v) : SqlValue(nullptr); }
inline SqlValue orNull(const std::optional<double>& v) { return v ? SqlValue(*v) : SqlValue(nullptr); }

} // namespace service
