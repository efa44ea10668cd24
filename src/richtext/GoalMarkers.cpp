// Goal runs ask the model for "GOAL_ITEM n:" lines and a count line; users should see a plain
// numbered list instead.
#include "richtext/MarkdownParser.h"
#include "richtext/SharedPattern.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace halvex::MarkdownParser {

namespace {

bool isLetter(QChar c, char16_t lower) { return (c.unicode() | 0x20) == lower; }

bool goalBefore(QStringView text, qsizetype underscore)
{
    return underscore >= 4 && isLetter(text[underscore - 4], u'g') && isLetter(text[underscore - 3], u'o')
        && isLetter(text[underscore - 2], u'a') && isLetter(text[underscore - 1], u'l');
}

// A cheap "goal_" search by the rare underscore, eight code units at a time. The letters of the
// markers have no case variants outside ASCII, so an ASCII comparison sees every spelling the
// pattern would.
bool mentionsGoal(QStringView text)
{
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i underscore = _mm_set1_epi16(u'_');
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        for (unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(v, underscore))); mask; mask &= mask - 1) {
            const int bit = __builtin_ctz(mask);
            if (bit % 2 == 0 && goalBefore(text, i + bit / 2))
                return true;
        }
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == u'_' && goalBefore(text, i))
            return true;
    }
    return false;
}

// Each pair of passes needs its own marker; most goal texts hold only one kind.
bool mentions(const QString& text, QLatin1String marker) { return text.contains(marker, Qt::CaseInsensitive); }

} // namespace

QString stripGoalMarkers(const QString& text)
{
    static const QRegularExpression any = sharedPattern(QStringLiteral("GOAL_(ITEM|OUTPUT_COUNT)"), ignoringCase);
    if (!mentionsGoal(text) || !any.match(text).hasMatch())
        return text;
    static const QRegularExpression countLine
        = sharedPattern(QStringLiteral("^[ \\t>]*GOAL_OUTPUT_COUNT[ \\t]*:[ \\t]*\\d+[ \\t]*$"),
                        ignoringCase | perLine | unicodeClasses);
    static const QRegularExpression countInline
        = sharedPattern(QStringLiteral("(^|[\\n\\r\\t ])GOAL_OUTPUT_COUNT[ \\t]*:[ \\t]*\\d+"),
                        ignoringCase | perLine | unicodeClasses);
    static const QRegularExpression itemLine
        = sharedPattern(QStringLiteral("(^|[\\n\\r])[ \\t]*GOAL_ITEM[ \\t]*(\\d{1,3})[ \\t]*:[ \\t]*"),
                        ignoringCase | perLine | unicodeClasses);
    static const QRegularExpression itemInline
        = sharedPattern(QStringLiteral("GOAL_ITEM[ \\t]*(\\d{1,3})[ \\t]*:[ \\t]*"), ignoringCase | unicodeClasses);
    static const QRegularExpression manyBreaks = sharedPattern(QStringLiteral("\\n{3,}"));
    QString out = text;
    if (mentions(out, QLatin1String("GOAL_OUTPUT_COUNT"))) {
        out.replace(countLine, QString());
        out.replace(countInline, QStringLiteral("\\1"));
    }
    if (mentions(out, QLatin1String("GOAL_ITEM"))) {
        out.replace(itemLine, QStringLiteral("\\1\\2. "));
        out.replace(itemInline, QStringLiteral("\\1. "));
    }
    out.replace(manyBreaks, QStringLiteral("\n\n"));
    return out.trimmed();
}

} // namespace halvex::MarkdownParser
