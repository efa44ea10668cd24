#pragma once
// The signed-in user and the answer of the sign-in endpoints.
#include "core/json/JsonReader.h"

#include <QString>

#include <optional>

namespace halvex {

struct User {
    QString id;
    QString email;
    std::optional<QString> fullName;
    std::optional<QString> avatarUrl;
    std::optional<bool> emailVerified;
    std::optional<QString> authProvider; // shown, never interpreted

    static User decode(const JsonReader& json);
    bool operator==(const User&) const = default;
};

struct AuthResponse {
    User user;

    static AuthResponse decode(const JsonReader& json);
};

} // namespace halvex
