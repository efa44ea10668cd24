// Goal runs ask the model for "GOAL_ITEM n:" lines and a count line; users should see a plain
// numbered list instead.
#include "richtext/GoalMarkerPasses.h"
#include "richtext/MarkdownChars.h"
#include "richtext/MarkdownParser.h"

#include <algorithm>

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

// Where markers occur, as whole lines: from the start of the first line holding one to the end
// of the last. Every replacement below needs a marker and stays on its line, so running them on
// these lines alone gives what running them on the whole text gives. Empty when there is none.
struct MarkerLines {
    qsizetype from = -1;
    qsizetype to = -1;
};

// Whether a marker's name ("GOAL_" then "ITEM" or "OUTPUT_COUNT") is spelled at `underscore`, in
// any case.
bool markerAt(QStringView text, qsizetype underscore)
{
    return detail::spelledAt(text, underscore - 4, QLatin1StringView("goal_item"))
        || detail::spelledAt(text, underscore - 4, QLatin1StringView("goal_output_count"));
}

MarkerLines markerLines(const QString& text)
{
    qsizetype first = -1, last = -1;
    for (qsizetype i = MarkdownChars::indexOf(text, u'_'); i >= 0; i = MarkdownChars::indexOf(text, u'_', i + 1))
        if (markerAt(text, i)) {
            first = first < 0 ? i : first;
            last = i;
        }
    if (first < 0)
        return {};
    const qsizetype lineEnd = MarkdownChars::indexOf(text, u'\n', last);
    return {text.lastIndexOf(u'\n', first) + 1, lineEnd < 0 ? text.size() : lineEnd};
}

// Where three line breaks in a row begin, from `from` on; -1 when nowhere.
qsizetype blankRunAt(const QString& text, qsizetype from)
{
    for (qsizetype i = text.indexOf(QChar(u'\n'), from); i >= 0 && i + 2 < text.size();
         i = text.indexOf(QChar(u'\n'), i + 1))
        if (text[i + 1] == u'\n' && text[i + 2] == u'\n')
            return i;
    return -1;
}

// Runs of three or more line breaks become two.
void foldBlankRuns(QString& text)
{
    qsizetype at = blankRunAt(text, 0);
    if (at < 0)
        return;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (at >= 0) {
        qsizetype end = at + 3;
        while (end < text.size() && text[end] == u'\n')
            ++end;
        out += QStringView(text).sliced(from, at + 2 - from);
        from = end;
        at = blankRunAt(text, end);
    }
    out += QStringView(text).sliced(from);
    text = std::move(out);
}

} // namespace

QString stripGoalMarkers(const QString& text)
{
    if (!mentionsGoal(text))
        return text;
    const MarkerLines lines = markerLines(text);
    if (lines.from < 0)
        return text;
    const QStringView region = QStringView(text).sliced(lines.from, lines.to - lines.from);
    const QString marked
        = detail::isWellFormed(region) ? detail::numberGoalItems(detail::dropCountMarkers(region)) : region.toString();
    QString out;
    out.reserve(text.size());
    out += QStringView(text).first(lines.from);
    out += marked;
    out += QStringView(text).sliced(lines.to);
    foldBlankRuns(out);
    return out.trimmed();
}

} // namespace halvex::MarkdownParser
