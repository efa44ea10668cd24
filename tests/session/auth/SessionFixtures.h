#pragma once
// Answers of the authentication endpoints, shared by the session tests.
#include "session/model/User.h"

#include <QByteArray>

namespace halvex::test {

inline QByteArray userJSON(const char* id = "u1", const char* email = "ada@example.com")
{
    return QByteArray(R"({"id":")") + id + R"(","email":")" + email
        + R"(","full_name":"Ada","email_verified":true,"auth_provider":"password"})";
}

inline QByteArray authJSON(const char* id = "u1", const char* email = "ada@example.com")
{
    return QByteArray(R"({"user":)") + userJSON(id, email) + R"(,"expires_at":"ignored"})";
}

} // namespace halvex::test

#include <QObject>

namespace halvex::test {

// Counts emissions of one signal.
struct SignalCount {
    template <typename Sender, typename Signal>
    SignalCount(Sender* sender, Signal signal)
    {
        QObject::connect(sender, signal, sender, [this] { ++value; });
    }
    int count() const { return value; }
    int value = 0;
};

} // namespace halvex::test
