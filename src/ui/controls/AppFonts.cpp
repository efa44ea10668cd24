#include "ui/controls/AppFonts.h"

#include <QDirIterator>
#include <QFontDatabase>
#include <QResource>

namespace halvex {

bool registerAppFonts()
{
    bool all = true;
    for (QDirIterator it(QStringLiteral(":/fonts"), QDir::Files); it.hasNext();) {
        const QString path = it.next();
        // An uncompressed resource is handed over where it lies in the binary; by path, the font
        // database would read a copy of it onto the heap (2 MB for all of them).
        const QResource resource(path);
        const bool inPlace = resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression;
        const int id = inPlace ? QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                           reinterpret_cast<const char*>(resource.data()), qsizetype(resource.size())))
                               : QFontDatabase::addApplicationFont(path);
        all = id >= 0 && all;
    }
    return all;
}

} // namespace halvex
