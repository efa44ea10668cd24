#pragma once
// Cuts server-sent event lines into events. One parser per connection: an event that is
// incomplete when the connection ends is lost with it.
#include <QString>
#include <QStringList>

#include <optional>

namespace halvex {

struct SSERawEvent {
    QString event;
    QString data;
    bool operator==(const SSERawEvent&) const = default;
};

class SSEFrameParser {
public:
    // One line without its terminator; returns the event the line completes, if any.
    std::optional<SSERawEvent> feed(const QString& line);

private:
    QString m_event = QStringLiteral("message");
    QStringList m_dataLines;
};

// Splits a byte stream into lines ending at LF, CRLF or CR, whatever the chunking: a CRLF or a
// UTF-8 character split between two chunks is put back together.
class SSELineSplitter {
public:
    // Appends `bytes` and returns every line they complete, decoded as UTF-8.
    QStringList append(const QByteArray& bytes);

private:
    QByteArray m_pending;
    bool m_skipLF = false; // the last chunk ended in CR: a leading LF belongs to it
};

} // namespace halvex
