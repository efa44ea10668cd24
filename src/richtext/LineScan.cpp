// Eight code units at a time, without a branch per character of interest: each kind becomes a bit
// mask (two bits per code unit), and a line takes the bits below its "\n". Most blocks hold none
// of them and cost a handful of comparisons.
#include "richtext/LineScan.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace halvex::MarkdownParser::detail {

namespace {

bool isDigitBefore(char16_t c) { return (c >= u'0' && c <= u'9') || c >= 0x660; }

// What a run of a line holds, as masks of one block.
void note(LineHints& line, unsigned pipe, unsigned doubleStar, unsigned numberMark)
{
    line.pipe = line.pipe || pipe != 0;
    line.doubleStar = line.doubleStar || doubleStar != 0;
    if (numberMark)
        line.numberMarks += std::popcount(numberMark) / 2;
}

#if defined(__SSE2__)

unsigned maskOf(__m128i m) { return unsigned(_mm_movemask_epi8(m)); }

__m128i equal(__m128i v, char16_t c) { return _mm_cmpeq_epi16(v, _mm_set1_epi16(short(c))); }

// An ASCII digit, or anything from the first non-ASCII digits on, as the repairs' hint wants.
unsigned digitMask(__m128i v)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i ascii
        = _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(v, _mm_set1_epi16(u'0')), _mm_set1_epi16(9)), zero);
    const __m128i below = _mm_cmpeq_epi16(_mm_subs_epu16(v, _mm_set1_epi16(0x65f)), zero);
    return maskOf(ascii) | (~maskOf(below) & 0xffffu);
}

} // namespace

void scanText(QStringView text, TextScan& scan)
{
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    LineHints line;
    __m128i returns = _mm_setzero_si128(), underscores = _mm_setzero_si128();
    alignas(16) char16_t tail[8] = {};
    for (qsizetype at = 0; at < n; at += 8) {
        __m128i v;
        if (at + 8 <= n) {
            v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        } else {
            // The last few code units, padded with NULs: they match nothing looked for here.
            std::copy(p + at, p + n, tail);
            v = _mm_load_si128(reinterpret_cast<const __m128i*>(tail));
        }
        returns = _mm_or_si128(returns, equal(v, u'\r'));
        underscores = _mm_or_si128(underscores, equal(v, u'_'));
        const unsigned newline = maskOf(equal(v, u'\n'));
        const unsigned pipe = maskOf(equal(v, u'|'));
        const unsigned star = maskOf(equal(v, u'*'));
        const unsigned mark = maskOf(_mm_or_si128(equal(v, u'.'), equal(v, u')')));
        if ((newline | pipe | star | mark) == 0)
            continue; // most blocks: letters and blanks

        // What precedes each code unit: this block's own shifted up by one, and before the first,
        // the previous block's last. A line's first code unit follows a "\n", which is neither.
        const char16_t before = at > 0 ? p[at - 1] : 0;
        unsigned doubleStar = 0, numberMark = 0;
        if (star)
            doubleStar = star & ((star << 2) | (before == u'*' ? 3u : 0u));
        if (mark)
            numberMark = mark & ((digitMask(v) << 2) | (isDigitBefore(before) ? 3u : 0u));

        unsigned rest = 0xffffu;
        for (unsigned ends = newline; ends;) {
            const int bit = std::countr_zero(ends);
            ends &= ~(3u << bit); // each code unit has two bits
            const unsigned ahead = rest & ((1u << bit) - 1);
            note(line, pipe & ahead, doubleStar & ahead, numberMark & ahead);
            line.end = at + bit / 2;
            scan.lines.append(line);
            line = {};
            rest &= ~((1u << (bit + 2)) - 1);
        }
        note(line, pipe & rest, doubleStar & rest, numberMark & rest);
    }
    line.end = n;
    scan.lines.append(line);
    scan.carriageReturn = maskOf(returns) != 0;
    scan.underscore = maskOf(underscores) != 0;
}

#else

} // namespace

void scanText(QStringView text, TextScan& scan)
{
    LineHints line;
    for (qsizetype i = 0, lineStart = 0; i <= text.size(); ++i) {
        const char16_t c = i < text.size() ? text[i].unicode() : u'\n';
        const char16_t previous = i > lineStart ? text[i - 1].unicode() : 0;
        if (c == u'\n') {
            line.end = i;
            scan.lines.append(line);
            line = {};
            lineStart = i + 1;
        }
        note(line, c == u'|', c == u'*' && previous == u'*' ? 3 : 0,
             (c == u'.' || c == u')') && isDigitBefore(previous) ? 3 : 0);
        scan.carriageReturn = scan.carriageReturn || c == u'\r';
        scan.underscore = scan.underscore || c == u'_';
    }
}

#endif

} // namespace halvex::MarkdownParser::detail
