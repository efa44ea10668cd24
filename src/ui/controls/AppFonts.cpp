#include "ui/controls/AppFonts.h"

#include <QFontDatabase>
#include <QResource>

namespace halvex {

namespace {

struct BundledFont {
    const char16_t* file; // under ":/fonts/", as src/ui/CMakeLists.txt bundles it
    const char16_t* family;
    // Registered even where the machine has the family. The icon font: the system's family
    // resolves to its WOFF2 copy, which FreeType unpacks with Brotli for every size it opens.
    bool always = false;
};

// Listed here rather than found by listing the folder: listing reads each file's length where the
// file begins in the binary, which maps that part of the binary in for every font, used or not.
constexpr BundledFont kBundled[] = {
    {u"Inter-Regular.otf", u"Inter"},
    {u"Inter-Italic.otf", u"Inter"},
    {u"Inter-Medium.otf", u"Inter"},
    {u"Inter-SemiBold.otf", u"Inter"},
    {u"Inter-Bold.otf", u"Inter"},
    {u"JetBrainsMono-Regular.ttf", u"JetBrains Mono"},
    {u"JetBrainsMono-Bold.ttf", u"JetBrains Mono"},
    {u"MaterialIcons-Regular.ttf", u"Material Icons", true},
};

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
    for (const BundledFont& font : kBundled) {
        // Installed on the machine already: fontconfig opens those files when text first needs
        // them, where registering the bundled copy would parse all of it now.
        if (!font.always && installed.contains(QString::fromUtf16(font.family), Qt::CaseInsensitive))
            continue;
        all = registerBundled(QStringLiteral(":/fonts/") + QString::fromUtf16(font.file)) && all;
    }
    return all;
}

QStringList bundledFontFiles()
{
    QStringList files;
    for (const BundledFont& font : kBundled)
        files << QString::fromUtf16(font.file);
    return files;
}

} // namespace halvex
