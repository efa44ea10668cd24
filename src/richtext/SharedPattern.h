#pragma once
// Patterns are built once per process (function-local statics) and optimised on creation.
#include <QRegularExpression>

namespace halvex {

inline QRegularExpression sharedPattern(const QString& pattern, QRegularExpression::PatternOptions options = {})
{
    QRegularExpression re(pattern, options);
    re.optimize();
    return re;
}

// \s, \d and \b must see Cyrillic and other scripts, not only ASCII.
inline constexpr auto unicodeClasses = QRegularExpression::UseUnicodePropertiesOption;
inline constexpr auto ignoringCase = QRegularExpression::CaseInsensitiveOption;
inline constexpr auto perLine = QRegularExpression::MultilineOption;

} // namespace halvex
