// What reaches the chat's delegates from hostile text: rendered rich text whose only links are
// web and mail addresses, and block syntax read once; and every label that shows text from the
// service reads it as plain text.
#include "ui/chat/ArtifactPreview.h"
#include "ui/chat/ChatMessageRows.h"
#include "ui/controls/AppFonts.h"
#include "ui/teams/TeamRosterFields.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFontDatabase>
#include <QRegularExpression>

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

// The properties an element sets itself, from just after its opening brace: what its nested
// elements set is left out.
QString ownProperties(const QString& source, qsizetype from)
{
    QString own;
    int depth = 1;
    for (qsizetype i = from; i < source.size() && depth > 0; ++i) {
        const QChar c = source.at(i);
        depth += c == u'{' ? 1 : c == u'}' ? -1 : 0;
        if (depth == 1 && c != u'}')
            own += c;
    }
    return own;
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

// Left to itself, a label reads anything that looks like markup as styled text, and fetches the
// address of an <img> in an employee's name. Every label or text whose text is not a literal says
// how it is read (plain, or rich text already rendered and checked); so does every dialog whose
// title is not (QuestionDialog's title reads plain text).
TEST(SafeRendering, EveryLabelOfServiceTextSaysHowItIsRead)
{
    struct Rule {
        QRegularExpression element;
        QRegularExpression bound;
        QLatin1String says;
    };
    const auto bound = [](const char* property) {
        return QRegularExpression(
            QStringLiteral(R"((?:^|[\s;])%1:(?!\s*"[^"<&]*"\s*(?:;|$)))").arg(QLatin1String(property)),
            QRegularExpression::MultilineOption);
    };
    const Rule rules[] = {
        {QRegularExpression(QStringLiteral(R"((?<![\w.])(?:Label|Text)\s*\{)")), bound("text"),
         QLatin1String("textFormat")},
        {QRegularExpression(QStringLiteral(R"((?<![\w.])Dialog\s*\{)")), bound("title"), QLatin1String("header:")},
    };
    QStringList unsaid;
    QDirIterator files(QStringLiteral(HALVEX_QML_DIR), {QStringLiteral("*.qml")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QString source = QString::fromUtf8(file.readAll());
        for (const Rule& rule : rules)
            for (auto found = rule.element.globalMatch(source); found.hasNext();) {
                const QRegularExpressionMatch match = found.next();
                const QString own = ownProperties(source, match.capturedEnd());
                if (own.contains(rule.bound) && !own.contains(rule.says))
                    unsaid << file.fileName() + u':'
                            + QString::number(source.left(match.capturedStart()).count(u'\n') + 1);
            }
    }
    EXPECT_TRUE(unsaid.isEmpty()) << unsaid.join(u'\n').toStdString();
}
