#include "richtext/LineScan.h"

#if defined(__SSE2__)
#include "richtext/LineScanBlocks.h"

#include <emmintrin.h>
#endif

namespace halvex::MarkdownParser::detail {

#if defined(__SSE2__)

#if defined(HALVEX_SCAN_WIDE)
void scanTextWide(QStringView text, TextScan& scan); // LineScanWide.cpp
#endif

namespace {

struct Sse2Lanes {
    using Vector = __m128i;
    static constexpr qsizetype count = 8;

    static Vector zero() { return _mm_setzero_si128(); }
    static Vector load(const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static Vector equal(Vector v, char16_t c) { return _mm_cmpeq_epi16(v, _mm_set1_epi16(short(c))); }
    static Vector either(Vector a, Vector b) { return _mm_or_si128(a, b); }
    static std::uint64_t mask(Vector v) { return unsigned(_mm_movemask_epi8(v)); }

    // An ASCII digit, or anything from the first non-ASCII digits on.
    static std::uint64_t digits(Vector v)
    {
        const Vector ascii
            = _mm_cmpeq_epi16(_mm_subs_epu16(_mm_sub_epi16(v, _mm_set1_epi16(u'0')), _mm_set1_epi16(9)), zero());
        const Vector below = _mm_cmpeq_epi16(_mm_subs_epu16(v, _mm_set1_epi16(0x65f)), zero());
        return mask(ascii) | (~mask(below) & 0xffffu);
    }
};

} // namespace

void scanTextEightLanes(QStringView text, TextScan& scan) { scanBlocks<Sse2Lanes>(text, scan); }

#else

void scanTextEightLanes(QStringView text, TextScan& scan) { scanTextByUnit(text, scan); }

#endif

void scanText(QStringView text, TextScan& scan)
{
#if defined(HALVEX_SCAN_WIDE)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide)
        return scanTextWide(text, scan);
#endif
    scanTextEightLanes(text, scan);
}

void scanTextByUnit(QStringView text, TextScan& scan)
{
    const auto isDigitBefore = [](char16_t c) { return (c >= u'0' && c <= u'9') || c >= 0x660; };
    LineHints line;
    for (qsizetype i = 0, lineStart = 0; i <= text.size(); ++i) {
        const char16_t c = i < text.size() ? text[i].unicode() : u'\n';
        const char16_t previous = i > lineStart ? text[i - 1].unicode() : 0;
        if (c == u'\n') {
            line.end = i;
            scan.lines.append(line);
            line = {};
            lineStart = i + 1;
            continue;
        }
        line.pipe = line.pipe || c == u'|';
        line.doubleStar = line.doubleStar || (c == u'*' && previous == u'*');
        line.numberMarks += (c == u'.' || c == u')') && isDigitBefore(previous);
        scan.carriageReturn = scan.carriageReturn || c == u'\r';
        scan.underscore = scan.underscore || c == u'_';
    }
}

} // namespace halvex::MarkdownParser::detail
