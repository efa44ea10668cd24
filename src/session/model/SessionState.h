#pragma once
// Who is signed in, as the top-level routing sees it.
#include "session/model/User.h"

#include <optional>

namespace halvex {

class SessionState {
public:
    enum class Kind { unknown, loggedIn, loggedOut };

    static SessionState unknown() { return SessionState(Kind::unknown, std::nullopt); }
    static SessionState loggedOut() { return SessionState(Kind::loggedOut, std::nullopt); }
    static SessionState loggedIn(User user) { return SessionState(Kind::loggedIn, std::move(user)); }

    Kind kind() const { return m_kind; }
    bool isLoggedIn() const { return m_kind == Kind::loggedIn; }
    // The confirmed user while logged in.
    const std::optional<User>& user() const { return m_user; }

    bool operator==(const SessionState&) const = default;

private:
    SessionState(Kind kind, std::optional<User> user) : m_kind(kind), m_user(std::move(user)) {}
    Kind m_kind;
    std::optional<User> m_user;
};

} // namespace halvex
