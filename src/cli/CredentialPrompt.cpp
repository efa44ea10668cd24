#include "cli/CredentialPrompt.h"

#include <QTextStream>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace halvex::cli {

std::optional<QString> promptLine(const char* prompt, bool secret)
{
    const bool tty = isatty(STDIN_FILENO);
    if (tty) {
        std::fputs(prompt, stderr);
        std::fflush(stderr);
    }
    termios saved{};
    const bool hide = tty && secret && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (hide) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    // One stream for every prompt: a second one would miss what the first already buffered
    // (email and password piped in together).
    static QTextStream in(stdin);
    const QString line = in.readLine();
    if (hide) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fputs("\n", stderr);
    }
    if (line.isNull())
        return std::nullopt;
    return line;
}

std::optional<Credentials> readCredentials(bool askFullName)
{
    Credentials c;
    const auto email = promptLine("Email: ", false);
    if (!email)
        return std::nullopt;
    const auto password = promptLine("Password: ", true);
    if (!password)
        return std::nullopt;
    c.email = email->trimmed();
    c.password = *password;
    if (askFullName) {
        const auto name = promptLine("Full name (optional): ", false);
        if (name && !name->trimmed().isEmpty())
            c.fullName = name->trimmed();
    }
    return c;
}

} // namespace halvex::cli
