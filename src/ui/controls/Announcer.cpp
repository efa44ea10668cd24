#include "ui/controls/Announcer.h"

#include <QJSEngine>

namespace halvex {

Announcer& Announcer::instance()
{
    static Announcer* announcer = new Announcer; // lives as long as the process, like Screens
    return *announcer;
}

Announcer* Announcer::create(QQmlEngine*, QJSEngine*)
{
    Announcer* announcer = &instance();
    QJSEngine::setObjectOwnership(announcer, QJSEngine::CppOwnership);
    return announcer;
}

void Announcer::announce(const QString& text)
{
    QString line = text.simplified();
    if (line.size() > kMaxLength) {
        line.truncate(kMaxLength);
        // Never end on half a surrogate pair.
        if (line.back().isHighSurrogate())
            line.chop(1);
        line.append(QChar(0x2026));
    }
    if (line.isEmpty())
        return;
    // An unchanged name is no change: clearing it first makes a repeat heard.
    if (line == m_message) {
        m_message.clear();
        Q_EMIT messageChanged();
    }
    m_message = line;
    Q_EMIT messageChanged();
}

} // namespace halvex
