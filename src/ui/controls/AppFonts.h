#pragma once
// The interface's fonts travel inside the program, so its look does not depend on what a machine
// has installed: "Inter" for text, "JetBrains Mono" for code, the icon font for symbols.
namespace halvex {

// Registers the bundled fonts of the families the machine lacks (the installed ones are the same
// files, and registering a font parses all of it: a tenth of a start's work); false when one could
// not be read. Call it once the QGuiApplication exists and before the first window.
bool registerAppFonts();

} // namespace halvex
