#pragma once
// Patterns are compiled once, at first use, and then only matched. Compiling eagerly keeps
// concurrent matching from background warm-up tasks free of lazy-initialisation races.
#include <QRegularExpression>
#include <QString>

namespace halvex {

inline QRegularExpression compiledPattern(const QString& pattern, bool caseInsensitive = true)
{
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (caseInsensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    QRegularExpression re(pattern, options);
    re.optimize();
    return re;
}

inline bool searches(const QRegularExpression& re, const QString& text) { return re.match(text).hasMatch(); }

} // namespace halvex
