#include "core/net/sse/SSEFrameParser.h"

namespace halvex {
namespace {

QString fieldValue(const QString& line, qsizetype prefixLength)
{
    QString value = line.mid(prefixLength);
    if (value.startsWith(QLatin1Char(' ')))
        value.remove(0, 1);
    return value;
}

} // namespace

std::optional<SSERawEvent> SSEFrameParser::feed(const QString& line)
{
    if (line.isEmpty()) {
        SSERawEvent event{std::exchange(m_event, QStringLiteral("message")), m_dataLines.join(QLatin1Char('\n'))};
        m_dataLines.clear();
        if (!event.data.isEmpty() || event.event != QLatin1String("message"))
            return event;
        return std::nullopt;
    }
    if (line.startsWith(QLatin1Char(':')))
        return std::nullopt;
    if (line.startsWith(QLatin1String("event:")))
        m_event = fieldValue(line, 6);
    else if (line.startsWith(QLatin1String("data:")))
        m_dataLines.append(fieldValue(line, 5));
    return std::nullopt;
}

QStringList SSELineSplitter::append(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    if (m_skipLF && !bytes.isEmpty()) {
        m_skipLF = false;
        if (bytes.front() == '\n')
            start = 1;
    }
    for (qsizetype i = start; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\n' && c != '\r')
            continue;
        m_pending.append(bytes.constData() + start, i - start);
        lines.append(QString::fromUtf8(m_pending));
        m_pending.clear();
        if (c == '\r') {
            if (i + 1 < bytes.size()) {
                if (bytes[i + 1] == '\n')
                    ++i;
            } else {
                m_skipLF = true;
            }
        }
        start = i + 1;
    }
    m_pending.append(bytes.constData() + start, bytes.size() - start);
    return lines;
}

} // namespace halvex
