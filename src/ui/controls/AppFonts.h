#pragma once
// The interface's fonts travel inside the program, so its look does not depend on what a machine
// has installed: "Inter" for text, "JetBrains Mono" for code, the icon font for symbols. Where the
// machine has a text family installed (the same files), that one is used; the icon font is always
// the bundled one.
#include <QStringList>

namespace halvex {

// Registers the icon font and the bundled text fonts of the families the machine lacks (registering
// a font parses all of it, about 12 million instructions for the whole bundle); false when one
// could not be read. Call it once the QGuiApplication exists and before the first window.
bool registerAppFonts();

// The bundled files under ":/fonts/", as registerAppFonts knows them.
QStringList bundledFontFiles();

} // namespace halvex
