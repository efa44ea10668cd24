#include "session/service/DesktopEntry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;

TEST(DesktopEntry, RegistersTheSchemeAndQuotesAHostileProgramPath)
{
    const auto text = DesktopEntry::render(QStringLiteral("/opt/My \"Apps\"/$HOME/100%/hal\\vex"),
                                           QStringLiteral("com.googleusercontent.apps.1-a"));
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains(QStringLiteral("MimeType=x-scheme-handler/com.googleusercontent.apps.1-a;\n")));
    EXPECT_TRUE(text->contains(QStringLiteral("Exec=\"/opt/My \\\\\"Apps\\\\\"/\\\\$HOME/100%%/hal\\\\\\\\vex\" %u\n")))
        << text->toStdString();

    EXPECT_FALSE(DesktopEntry::render(QStringLiteral("/bin/x\nExec=evil"), QStringLiteral("s")));
    EXPECT_FALSE(DesktopEntry::render(QStringLiteral("/bin/x"), QStringLiteral("bad scheme;")));
    EXPECT_FALSE(DesktopEntry::render(QStringLiteral("/bin/x"), QStringLiteral("1abc")));
}

TEST(DesktopEntry, InstallWritesTheFileOrSaysWhyNot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(DesktopEntry::install(dir.filePath(QStringLiteral("applications")), QStringLiteral("/usr/bin/halvex"),
                                      QStringLiteral("com.x.apps.1"), &error));
    QFile file(dir.filePath(QStringLiteral("applications/halvex.desktop")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("[Desktop Entry]\n"));

    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(DesktopEntry::install(dir.filePath(QStringLiteral("file/sub")), QStringLiteral("/usr/bin/halvex"),
                                       QStringLiteral("com.x.apps.1"), &error));
    EXPECT_FALSE(error.isEmpty());
}
