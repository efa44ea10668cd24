#pragma once
// Credentials come from the terminal (echo off for the password) or, when piped, from standard
// input one per line; never from the command line, where other users could read them.
#include <QString>

#include <optional>

namespace halvex::cli {

struct Credentials {
    QString email;
    QString password;
    std::optional<QString> fullName;
};

// Nullopt when standard input ended before the email and password were read.
std::optional<Credentials> readCredentials(bool askFullName);

} // namespace halvex::cli
