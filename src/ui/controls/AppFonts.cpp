#include "ui/controls/AppFonts.h"

#include <QDirIterator>
#include <QFontDatabase>

namespace halvex {

bool registerAppFonts()
{
    bool all = true;
    for (QDirIterator it(QStringLiteral(":/fonts"), QDir::Files); it.hasNext();)
        all = QFontDatabase::addApplicationFont(it.next()) >= 0 && all;
    return all;
}

} // namespace halvex
