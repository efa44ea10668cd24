#include "session/model/User.h"

namespace halvex {

User User::decode(const JsonReader& json)
{
    User u;
    u.id = json.required<QString>("id");
    u.email = json.required<QString>("email");
    u.fullName = json.optional<QString>("full_name");
    u.avatarUrl = json.optional<QString>("avatar_url");
    u.emailVerified = json.optional<bool>("email_verified");
    u.authProvider = json.optional<QString>("auth_provider");
    return u;
}

AuthResponse AuthResponse::decode(const JsonReader& json) { return AuthResponse{json.required<User>("user")}; }

} // namespace halvex
