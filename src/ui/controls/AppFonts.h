#pragma once
// The interface's fonts travel inside the program, so its look does not depend on what a machine
// has installed: "Inter" for text, "JetBrains Mono" for code, the icon font for symbols.
namespace halvex {

// Registers the bundled fonts with the application; false when one could not be read. Call it
// once the QGuiApplication exists and before the first window.
bool registerAppFonts();

} // namespace halvex
