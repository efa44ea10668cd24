// What reaches the chat's delegates from hostile text: rendered rich text whose only links are
// web and mail addresses, and block syntax read once.
#include "ui/chat/ArtifactPreview.h"
#include "ui/chat/ChatMessageRows.h"
#include "ui/controls/AppFonts.h"
#include "ui/teams/TeamRosterFields.h"

#include <QDir>
#include <QFontDatabase>

#include <gtest/gtest.h>

using namespace halvex;

namespace {

ChatMessage answer(qint64 id, const char* text)
{
    ChatMessage m;
    m.id = id;
    m.role = QStringLiteral("assistant");
    m.content = QString::fromUtf8(text);
    return m;
}

QStringList texts(const QVariantList& blocks)
{
    QStringList out;
    for (const QVariant& block : blocks) {
        const QVariantMap map = block.toMap();
        out << map.value(QStringLiteral("text")).toString();
        for (const QVariant& item : map.value(QStringLiteral("items")).toList())
            out << item.toString();
    }
    return out;
}

} // namespace

TEST(SafeRendering, AnswersReachTheScreenRenderedWithOnlySafeLinks)
{
    ChatMessageRows model;
    model.setMessages({answer(1,
                              "## 1. Overview\n\nsee [me](javascript:alert(1)) <file:///etc/passwd> "
                              "<a href=\"https://x.example\">raw</a> and [ok](https://ok.example)\n\n1. one\n2. two")});
    const QVariantList blocks = model.data(model.index(0), ChatMessageRows::BlocksRole).toList();
    ASSERT_GE(blocks.size(), 3);
    EXPECT_EQ(blocks[0].toMap().value(QStringLiteral("kind")).toString(), QStringLiteral("heading"));
    EXPECT_TRUE(blocks[0].toMap().value(QStringLiteral("text")).toString().contains(QStringLiteral("1. Overview")));
    const QString paragraph = texts(blocks).join(QLatin1Char('\n'));
    EXPECT_FALSE(paragraph.contains(QStringLiteral("href=\"javascript")));
    EXPECT_FALSE(paragraph.contains(QStringLiteral("href=\"file")));
    EXPECT_FALSE(paragraph.contains(QStringLiteral("<a href=\"https://x.example\">"))) << "raw HTML stays text";
    EXPECT_TRUE(paragraph.contains(QStringLiteral("href=\"https://ok.example\"")));
    EXPECT_EQ(blocks.last().toMap().value(QStringLiteral("kind")).toString(), QStringLiteral("ordered"));
}

TEST(SafeRendering, TablePreviewCountsAndCellsAndTeamRowsShowDisplayNames)
{
    EXPECT_EQ(ArtifactPreview::cellText(JSONValue(3.0)), QStringLiteral("3"));
    EXPECT_EQ(ArtifactPreview::cellText(JSONValue(true)), QStringLiteral("Yes"));
    EXPECT_EQ(ArtifactPreview::cellText(JSONValue()), QString());
    EXPECT_EQ(ArtifactPreview::cellText(JSONValue(JSONArray{JSONValue(1), JSONValue(QStringLiteral("a"))})),
              QStringLiteral("[1,\"a\"]"));

    TeamRosterMember writer;
    writer.id = QStringLiteral("a1");
    writer.name = QStringLiteral("writer-growth");
    const QVariantList rows = TeamRosterFields::rows({writer}, QStringLiteral("growth"), QString(), std::nullopt);
    EXPECT_EQ(rows.first().toMap().value(QStringLiteral("name")).toString(), QStringLiteral("Writer"));
}

TEST(SafeRendering, TheFontsTravelWithTheApp)
{
    EXPECT_TRUE(registerAppFonts());
    for (const char* family : {"Inter", "JetBrains Mono", "Material Icons"})
        EXPECT_TRUE(QFontDatabase::families().contains(QString::fromUtf8(family))) << family;
    // The fonts are registered from a list of their own: it names every file the build bundles.
    QStringList bundled = QDir(QStringLiteral(":/fonts")).entryList(QDir::Files);
    QStringList listed = bundledFontFiles();
    bundled.sort();
    listed.sort();
    EXPECT_EQ(listed, bundled);
}
