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

// One line of standard input, after `prompt` on a terminal (echo off when `secret`); nullopt at
// the end of the input. Every prompt shares one stream, so piped lines are never lost.
std::optional<QString> promptLine(const char* prompt, bool secret = false);

// Nullopt when standard input ended before the email and password were read.
std::optional<Credentials> readCredentials(bool askFullName);

} // namespace halvex::cli
