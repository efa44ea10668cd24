#pragma once
// Small pieces every governance and billing store shares: a user's row removed by id, a nullable
// column as JSON, an entry of a fixed catalogue found by its key.
#include "core/Service.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace service {

// False when the user has no such row. `table` is one of the service's own names, never input.
inline bool deleteOwnedRow(Service& s, const char* table, const std::string& id, long long uid)
{
    bool found = false;
    s.db->transaction([&] {
        const std::string where = std::string(" FROM ") + table + " WHERE id = ? AND user_id = ?";
        found = !s.db->query("SELECT 1" + where, {id, uid}).empty();
        s.db->execute("DELETE" + where, {id, uid});
    });
    return found;
}

inline nlohmann::json textOrNull(const SqlValue& v)
{
    return isNull(v) ? nlohmann::json(nullptr) : nlohmann::json(text(v));
}

// The entry whose `field` is `key`, or nothing.
template <typename T>
const T* findByKey(const std::vector<T>& list, const std::string& key, const char* const T::*field)
{
    for (const T& entry : list)
        if (key == entry.*field)
            return &entry;
    return nullptr;
}

} // namespace service
