#include "ui/controls/AppFonts.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QFontDatabase>
#include <QResource>

namespace halvex {

namespace {

// The family each bundled file belongs to, by the start of its file name.
QString familyOf(const QString& fileName)
{
    const QString stem = fileName.section(u'-', 0, 0);
    if (stem == u"JetBrainsMono")
        return QStringLiteral("JetBrains Mono");
    if (stem == u"MaterialIcons")
        return QStringLiteral("Material Icons");
    return stem;
}

bool registerBundled(const QString& path)
{
    // An uncompressed resource is handed over where it lies in the binary; by path, the font
    // database would read a copy of it onto the heap.
    const QResource resource(path);
    const bool inPlace = resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression;
    const int id = inPlace ? QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                       reinterpret_cast<const char*>(resource.data()), qsizetype(resource.size())))
                           : QFontDatabase::addApplicationFont(path);
    return id >= 0;
}

} // namespace

bool registerAppFonts()
{
    // The installed families, listed once: asking per family goes through fontconfig's
    // substitution rules, about 4 million instructions a question.
    const QStringList installed = QFontDatabase::families();
    bool all = true;
    for (QDirIterator it(QStringLiteral(":/fonts"), QDir::Files); it.hasNext();) {
        const QString path = it.next();
        // Installed on the machine already: fontconfig opens those files when text first needs
        // them, where registering the bundled copy would parse all of it now. Not the icon font:
        // the system's family resolves to its WOFF2 copy, which FreeType unpacks with Brotli for
        // every size it opens; the bundled TrueType replaces it.
        const QString family = familyOf(QFileInfo(path).fileName());
        if (family != u"Material Icons" && installed.contains(family, Qt::CaseInsensitive))
            continue;
        all = registerBundled(path) && all;
    }
    return all;
}

} // namespace halvex
