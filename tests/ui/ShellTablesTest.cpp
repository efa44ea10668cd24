// The fixed tables the screens rely on: the icon mapping and the settings sections.
#include "ui/controls/IconTable.h"
#include "ui/settings/SettingsSections.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QVariantMap>

#include <gtest/gtest.h>

using namespace halvex;

TEST(IconTableTest, EverySymbolTheScreensNameIsMapped)
{
    // Every quoted name on a line that sets a symbol or an icon, except those compared against.
    const QRegularExpression setter(QStringLiteral(R"(\b(?:symbol|icon)\s*:)"));
    const QRegularExpression name(QStringLiteral(R"re((?<!=== )"([a-z][a-z0-9.]*)")re"));
    QStringList unknown;
    int seen = 0;
    for (QDirIterator it(QStringLiteral(HALVEX_QML_DIR), {QStringLiteral("*.qml")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString file = it.next();
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
            if (!line.contains(setter))
                continue;
            for (auto it = name.globalMatch(line.mid(line.indexOf(setter))); it.hasNext();) {
                const QString symbol = it.next().captured(1);
                ++seen;
                if (!IconTable::knows(symbol))
                    unknown << QFileInfo(file).fileName() + QLatin1Char(':') + symbol;
            }
        }
    }
    EXPECT_GT(seen, 10);
    EXPECT_TRUE(unknown.isEmpty()) << unknown.join(QLatin1Char(' ')).toStdString();
    for (const QVariant& entry : SettingsSections::all())
        EXPECT_TRUE(IconTable::knows(entry.toMap().value(QStringLiteral("icon")).toString()));
}

TEST(IconTableTest, UnknownSymbolsShowANeutralGlyph)
{
    EXPECT_EQ(IconTable::glyph(QStringLiteral("no.such.symbol")), QStringLiteral("circle"));
    EXPECT_EQ(IconTable::glyph(QStringLiteral("magnifyingglass")), QStringLiteral("search"));
}

TEST(SettingsSectionsTest, SectionsKeepTheirOrderAndGroups)
{
    QStringList ids, groups, ready;
    for (const QVariant& entry : SettingsSections::all()) {
        const QVariantMap map = entry.toMap();
        ids << map.value(QStringLiteral("id")).toString();
        groups << map.value(QStringLiteral("group")).toString();
        if (map.value(QStringLiteral("ready")).toBool())
            ready << ids.last();
    }
    EXPECT_EQ(ids.join(QLatin1Char(',')),
              QStringLiteral("profile,billing,identity,guardrails,apps,audit,recordings,appearance,updates"));
    EXPECT_EQ(groups.join(QLatin1Char(',')),
              QStringLiteral("account,account,employee,employee,employee,employee,employee,app,app"));
    EXPECT_EQ(ready.join(QLatin1Char(',')),
              QStringLiteral("billing,identity,guardrails,apps,audit,recordings,appearance,updates"));
}
