#include "core/net/sse/SSEFrameParser.h"

#include <gtest/gtest.h>

using namespace halvex;

namespace {
QList<SSERawEvent> feedAll(const QStringList& lines)
{
    SSEFrameParser parser;
    QList<SSERawEvent> events;
    for (const auto& line : lines)
        if (auto e = parser.feed(line))
            events.append(*e);
    return events;
}
} // namespace

TEST(SSEFrameParserTest, FieldRules)
{
    EXPECT_EQ(feedAll({QStringLiteral("event: ready"), QString()}),
              QList<SSERawEvent>({{QStringLiteral("ready"), QString()}})); // no data, still an event
    EXPECT_EQ(feedAll({QStringLiteral("data: {\"id\":1}"), QString()}),
              QList<SSERawEvent>({{QStringLiteral("message"), QStringLiteral("{\"id\":1}")}}));
    EXPECT_EQ(feedAll({QStringLiteral("data:a"), QStringLiteral("data: b"), QStringLiteral("data:  c"), QString()}),
              QList<SSERawEvent>({{QStringLiteral("message"), QStringLiteral("a\nb\n c")}}));
    EXPECT_TRUE(feedAll({QString(), QStringLiteral(": keep-alive"), QStringLiteral("id: 7"), QStringLiteral("retry: 1"),
                         QString()})
                    .isEmpty());
    // The type resets to "message" after each event.
    EXPECT_EQ(feedAll({QStringLiteral("event:message-insert"), QStringLiteral("data:x"), QString(),
                       QStringLiteral("data:y"), QString()}),
              QList<SSERawEvent>({{QStringLiteral("message-insert"), QStringLiteral("x")},
                                  {QStringLiteral("message"), QStringLiteral("y")}}));
}

TEST(SSELineSplitterTest, AnyChunkingGivesTheSameLines)
{
    const QByteArray stream = QByteArray("event: ready\r\n\r\ndata: Привет 👋\rdata: b\n\nid: 3\r\n");
    const QStringList expected = {QStringLiteral("event: ready"), QString(), QStringLiteral("data: Привет 👋"),
                                  QStringLiteral("data: b"),      QString(), QStringLiteral("id: 3")};
    SSELineSplitter whole;
    EXPECT_EQ(whole.append(stream), expected);
    // Split at every single byte: inside CRLF pairs and inside multi-byte characters.
    for (qsizetype cut = 1; cut < stream.size(); ++cut) {
        SSELineSplitter s;
        QStringList lines = s.append(stream.left(cut));
        lines += s.append(stream.mid(cut));
        EXPECT_EQ(lines, expected) << "cut at " << cut;
    }
    SSELineSplitter bytewise;
    QStringList lines;
    for (char c : stream)
        lines += bytewise.append(QByteArray(1, c));
    EXPECT_EQ(lines, expected);
}
