#include "session/service/DesktopEntry.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>

namespace halvex::DesktopEntry {
namespace {

bool isValidScheme(const QString& scheme)
{
    static const QRegularExpression pattern(QStringLiteral("^[a-z][a-z0-9+.-]*$"));
    return pattern.match(scheme).hasMatch();
}

// An Exec argument: quoted, with the quoting rule's own escapes, then the string escapes of
// the file format (a backslash is written twice). Line breaks cannot be quoted at all.
std::optional<QString> execArgument(const QString& path)
{
    if (path.isEmpty() || path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
        return std::nullopt;
    QString quoted;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    // "%" introduces a field code; a literal one is doubled.
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString schemeMimeType(const QString& scheme) { return QStringLiteral("x-scheme-handler/") + scheme; }

std::optional<QString> render(const QString& executablePath, const QString& scheme)
{
    const auto exec = execArgument(executablePath);
    if (!exec || !isValidScheme(scheme))
        return std::nullopt;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Halvex\n"
                          "Exec=%1 %u\n"
                          "Terminal=false\n"
                          "Categories=Office;Network;\n"
                          "MimeType=%2;\n")
        .arg(*exec, schemeMimeType(scheme));
}

bool install(const QString& applicationsDir, const QString& executablePath, const QString& scheme, QString* error)
{
    const auto text = render(executablePath, scheme);
    const auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!text)
        return fail(QStringLiteral("The program path or the redirect scheme cannot go into a desktop entry."));
    if (!QDir().mkpath(applicationsDir))
        return fail(QStringLiteral("Could not create %1.").arg(applicationsDir));
    QSaveFile file(QDir(applicationsDir).filePath(QLatin1String(fileName)));
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = text->toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("Could not write the desktop entry: ") + file.errorString());
    return true;
}

} // namespace halvex::DesktopEntry
