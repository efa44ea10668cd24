#pragma once
// Lets gtest print a QString as text; its default prints the bytes of the object.
#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
