#pragma once
// Type checks for request bodies: each reads one key and says what is wrong with it.
#include <nlohmann/json.hpp>

#include <cmath>
#include <optional>
#include <string>

namespace service {

// A number without a fractional part (JSON writers may send 3 as 3.0).
inline std::optional<long long> wholeNumber(const nlohmann::json& v)
{
    if (v.is_number_integer())
        return v.get<long long>();
    if (v.is_number_float()) {
        const double d = v.get<double>();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9e15)
            return static_cast<long long>(d);
    }
    return std::nullopt;
}

inline std::optional<double> finiteNumber(const nlohmann::json& v)
{
    if (!v.is_number())
        return std::nullopt;
    const double d = v.get<double>();
    return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
}

} // namespace service
