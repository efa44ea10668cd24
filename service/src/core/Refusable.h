#pragma once
// A transaction whose body may refuse the request: a refusal rolls every write back and
// comes out as the text to answer with.
#include "core/Database.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace service {

inline std::optional<std::string> refusableTransaction(Database& db,
                                                       const std::function<std::optional<std::string>()>& body)
{
    struct Refused : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    try {
        db.transaction([&] {
            if (auto problem = body())
                throw Refused(*problem);
        });
    } catch (const Refused& r) {
        return std::string(r.what());
    }
    return std::nullopt;
}

} // namespace service
