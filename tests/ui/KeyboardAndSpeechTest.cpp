// The keyboard's one list of shortcuts, next and previous chat, and what the app says to a
// screen reader.
#include "ui/controls/Announcer.h"
#include "ui/controls/ShortcutCatalog.h"
#include "ui/sidebar/SidebarRows.h"

#include "support/QStringPrinter.h"

#include <QDirIterator>
#include <QFile>
#include <QKeySequence>
#include <QRegularExpression>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace halvex;
using namespace Qt::StringLiterals;

TEST(ShortcutCatalogTest, EveryKeyIsValidAndNoBoundKeyDoesTwoThings)
{
    QMap<QString, QString> boundBy;
    for (const ShortcutEntry& entry : ShortcutCatalog::entries()) {
        EXPECT_FALSE(entry.label.isEmpty()) << entry.name.toStdString();
        ASSERT_FALSE(entry.keys.isEmpty()) << entry.name.toStdString();
        for (const QString& key : entry.keys) {
            const QKeySequence sequence(key, QKeySequence::PortableText);
            EXPECT_EQ(sequence.count(), 1) << entry.name.toStdString() << " " << key.toStdString();
            EXPECT_NE(sequence[0].key(), Qt::Key_unknown) << key.toStdString();
            if (entry.handledByControl)
                continue;
            // Two enabled Shortcuts with one key make Qt run neither.
            const QString canonical = sequence.toString(QKeySequence::PortableText);
            EXPECT_FALSE(boundBy.contains(canonical))
                << canonical.toStdString() << " is both " << boundBy.value(canonical).toStdString() << " and "
                << entry.name.toStdString();
            boundBy.insert(canonical, entry.name);
        }
    }
    EXPECT_EQ(ShortcutCatalog::keys(u"find"_s), QStringList{u"Ctrl+F"_s});
    EXPECT_TRUE(ShortcutCatalog::keys(u"no such action"_s).isEmpty());
    EXPECT_EQ(ShortcutCatalog::hint(u"marketplace"_s), u"Ctrl+Shift+M"_s);

    // The overlay shows every entry once, in its group.
    int shown = 0;
    for (const QVariant& group : ShortcutCatalog::groups())
        shown += int(group.toMap().value(u"entries"_s).toList().size());
    EXPECT_EQ(shown, ShortcutCatalog::entries().size());
}

// A key written straight into a Shortcut would work but be missing from the overlay.
TEST(ShortcutCatalogTest, EveryShortcutInTheInterfaceTakesItsKeysFromTheCatalog)
{
    static const QRegularExpression literal(uR"re(Shortcut\s*\{[^}]*\bsequences?\s*:\s*(\[\s*)?")re"_s);
    static const QRegularExpression named(uR"re(ShortcutCatalog\.(?:keys|hint)\("([A-Za-z]+)"\))re"_s);
    QStringList offenders;
    int uses = 0;
    QDirIterator files(QStringLiteral(HALVEX_QML_DIR), {u"*.qml"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        if (text.contains(literal))
            offenders << file.fileName();
        for (auto match = named.globalMatch(text); match.hasNext(); ++uses) {
            const QString name = match.next().captured(1);
            EXPECT_FALSE(ShortcutCatalog::keys(name).isEmpty())
                << name.toStdString() << " in " << file.fileName().toStdString();
        }
    }
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(u", "_s).toStdString();
    EXPECT_GT(uses, 15);
}

TEST(NearbyChatTest, StepsOverHeadersAndProjectsAndWraps)
{
    const auto row = [](const char* kind, const char* id) {
        SidebarRow r;
        r.kind = QString::fromLatin1(kind);
        r.identity = QString::fromLatin1(id);
        return r;
    };
    const QList<SidebarRow> rows{row("section", "employees"), row("agent", "a1"),      row("agent", "a2"),
                                 row("section", "teams"),     row("team", "team:ops"), row("member", "a1"),
                                 row("project", "project:p"), row("agent", "a3")};
    EXPECT_EQ(nearbyChat(rows, u"a1"_s, 1), u"a2"_s);
    EXPECT_EQ(nearbyChat(rows, u"a2"_s, 1), u"team:ops"_s);
    EXPECT_EQ(nearbyChat(rows, u"team:ops"_s, -1), u"a2"_s);
    EXPECT_EQ(nearbyChat(rows, u"a3"_s, 1), u"a1"_s) << "wraps at the bottom";
    EXPECT_EQ(nearbyChat(rows, u"a1"_s, -1), u"a3"_s) << "and at the top";
    EXPECT_EQ(nearbyChat(rows, u"project:p"_s, 1), u"a1"_s) << "a project is no chat: start at the top";
    EXPECT_EQ(nearbyChat(rows, QString(), -1), u"a3"_s);
    EXPECT_EQ(nearbyChat({row("section", "s"), row("project", "project:p")}, QString(), 1), QString());
}

TEST(AnnouncerTest, SaysOneLineOfBoundedLengthAndRepeatsAreHeard)
{
    Announcer& announcer = Announcer::instance();
    QStringList heard;
    const QMetaObject::Connection listening
        = QObject::connect(&announcer, &Announcer::messageChanged, [&] { heard << announcer.message(); });

    announcer.announce(u"  Ada answered:\n\nThe  report is ready. "_s);
    EXPECT_EQ(heard, QStringList{u"Ada answered: The report is ready."_s});
    heard.clear();
    announcer.announce(u"Ada answered: The report is ready."_s);
    EXPECT_EQ(heard, (QStringList{QString(), u"Ada answered: The report is ready."_s}));
    heard.clear();
    announcer.announce(u" \n "_s);
    EXPECT_TRUE(heard.isEmpty());

    // A long answer is cut, never inside a surrogate pair.
    QString longAnswer(Announcer::kMaxLength - 1, u'x');
    longAnswer += u"😀 and more"_s;
    announcer.announce(longAnswer);
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard.last(), QString(Announcer::kMaxLength - 1, u'x') + QChar(0x2026));
    QObject::disconnect(listening);
}
