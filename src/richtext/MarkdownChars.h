#pragma once
// Character classes with the meaning the repair patterns give them in Unicode mode, for the
// hand-written scanners that stand in for those patterns on the hot path. Code points outside
// the basic plane arrive as surrogate pairs, so the width-returning tests report 0, 1 or 2.
#include <QChar>
#include <QStringView>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace halvex::MarkdownChars {

inline bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The first `c` at or after `from`, or -1. Inline, eight code units at a time: this Qt's string
// view looks for one character with its general substring search, and even its own character
// search is a call whose set-up costs more than the short lines the parser asks about.
inline qsizetype indexOf(QStringView s, char16_t c, qsizetype from = 0)
{
    const char16_t* p = s.utf16();
    const qsizetype n = s.size();
    qsizetype i = from < 0 ? 0 : from;
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi16(short(c));
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(v, needle)))
            return i + __builtin_ctz(unsigned(mask)) / 2;
    }
#endif
    for (; i < n; ++i)
        if (p[i] == c)
            return i;
    return -1;
}

inline bool contains(QStringView s, char16_t c) { return indexOf(s, c) >= 0; }

// White space as a Unicode-mode \s: separators plus the horizontal and vertical spaces.
inline bool isWhite(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return u == u' ' || (u >= 0x09 && u <= 0x0d);
    if (u == 0x85 || u == 0xa0 || u == 0x1680 || u == 0x180e || (u >= 0x2000 && u <= 0x200a) || u == 0x2028
        || u == 0x2029 || u == 0x202f || u == 0x205f || u == 0x3000)
        return true;
    return false;
}

inline char32_t codePointAt(QStringView s, qsizetype i, qsizetype* width)
{
    if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
        *width = 2;
        return QChar::surrogateToUcs4(s[i], s[i + 1]);
    }
    *width = 1;
    return s[i].unicode();
}

// A decimal digit of any script (\d in Unicode mode); 0 when there is none at i.
inline qsizetype digitWidthAt(QStringView s, qsizetype i)
{
    const char16_t u = s[i].unicode();
    if (u < 0x80)
        return u >= u'0' && u <= u'9' ? 1 : 0;
    if (u < 0x660) // Latin, Greek, Cyrillic and the rest below the first non-ASCII digits
        return 0;
    qsizetype width = 1;
    const char32_t c = codePointAt(s, i, &width);
    return QChar::category(c) == QChar::Number_DecimalDigit ? width : 0;
}

// A pictograph, a variation selector or a zero-width joiner: what decorates list numbers.
inline qsizetype emojiWidthAt(QStringView s, qsizetype i)
{
    const char16_t u = s[i].unicode();
    if (u < 0xa6) // the first "other symbol" is the broken bar
        return 0;
    qsizetype width = 1;
    const char32_t c = codePointAt(s, i, &width);
    return c == 0xfe0f || c == 0x200d || QChar::category(c) == QChar::Symbol_Other ? width : 0;
}

// A run of decimal digits of any script at i, at most `most` of them (0: any number); returns its
// end, or -1 when it is empty or longer.
inline qsizetype digitRunEnd(QStringView s, qsizetype i, int most)
{
    const qsizetype from = i;
    int count = 0;
    while (i < s.size()) {
        const qsizetype w = digitWidthAt(s, i);
        if (w == 0)
            break;
        i += w;
        if (++count > most && most > 0)
            return -1;
    }
    return i > from ? i : -1;
}

// A list number at i: one to three digits and "." or ")". Returns the index after the marker,
// or -1. The digit run must end at the marker: four digits are no list number.
inline qsizetype listNumberEnd(QStringView s, qsizetype i)
{
    i = digitRunEnd(s, i, 3);
    if (i < 0 || i >= s.size() || (s[i] != u'.' && s[i] != u')'))
        return -1;
    return i + 1;
}

inline qsizetype skipBlanks(QStringView s, qsizetype i)
{
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return i;
}

inline qsizetype skipWhite(QStringView s, qsizetype i)
{
    while (i < s.size() && isWhite(s[i]))
        ++i;
    return i;
}

} // namespace halvex::MarkdownChars
