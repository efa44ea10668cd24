#include "desktop/model/DesktopAlert.h"

#include <QRegularExpression>

namespace halvex {
namespace {

// Line breaks and runs of spaces become one space; the text is cut at `limit` with an ellipsis.
QString oneLine(const QString& text, qsizetype limit)
{
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    QString line = text;
    line.replace(spaces, QStringLiteral(" "));
    line = line.trimmed();
    if (line.size() > limit) {
        qsizetype cut = limit - 1;
        // Never split a surrogate pair.
        if (cut > 0 && line.at(cut - 1).isHighSurrogate())
            --cut;
        line = line.left(cut).trimmed() + QChar(0x2026);
    }
    return line;
}

QString name(const DesktopAlert& alert)
{
    const QString clean = oneLine(alert.chatName, DesktopAlert::maxNameChars);
    return clean.isEmpty() ? QStringLiteral("Your employee") : clean;
}

} // namespace

QString DesktopAlert::summary() const
{
    switch (kind) {
    case DesktopAlertKind::turnFinished:
        return QStringLiteral("%1 replied").arg(name(*this));
    case DesktopAlertKind::approvalWaiting:
        return QStringLiteral("%1 needs your approval").arg(name(*this));
    case DesktopAlertKind::goalReviewWaiting:
        return QStringLiteral("A result from %1 waits for your review").arg(name(*this));
    }
    return name(*this);
}

QString DesktopAlert::body() const { return oneLine(detail, maxBodyChars).toHtmlEscaped(); }

LauncherBadge LauncherBadge::forUnread(qint64 unread)
{
    const qint64 count = std::max<qint64>(unread, 0);
    return {count, count > 0};
}

} // namespace halvex
