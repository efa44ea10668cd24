// Eight code units at a time: most of them are letters and blanks and need no look at all.
#include "richtext/LineScan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace halvex::MarkdownParser::detail {

namespace {

bool isDigitBefore(char16_t c) { return (c >= u'0' && c <= u'9') || c >= 0x660; }

class Scanner {
public:
    Scanner(QStringView text, TextScan& scan) : m_p(text.utf16()), m_scan(scan) {}

    void note(qsizetype at)
    {
        const char16_t previous = at > m_lineStart ? m_p[at - 1] : 0;
        switch (m_p[at]) {
        case u'\n':
            m_line.end = at;
            m_scan.lines.append(m_line);
            m_line = {};
            m_lineStart = at + 1;
            break;
        case u'|':
            m_line.pipe = true;
            break;
        case u'*':
            m_line.doubleStar = m_line.doubleStar || previous == u'*';
            break;
        case u'.':
        case u')':
            m_line.numberMarks += isDigitBefore(previous);
            break;
        case u'\r':
            m_scan.carriageReturn = true;
            break;
        case u'_':
            m_scan.underscore = true;
            break;
        default:
            break;
        }
    }

    void finish(qsizetype end)
    {
        m_line.end = end;
        m_scan.lines.append(m_line);
    }

private:
    const char16_t* m_p;
    TextScan& m_scan;
    LineHints m_line;
    qsizetype m_lineStart = 0;
};

} // namespace

void scanText(QStringView text, TextScan& scan)
{
    Scanner scanner(text, scan);
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i newline = _mm_set1_epi16(u'\n'), pipe = _mm_set1_epi16(u'|'), star = _mm_set1_epi16(u'*'),
                  point = _mm_set1_epi16(u'.'), paren = _mm_set1_epi16(u')'), ret = _mm_set1_epi16(u'\r'),
                  underscore = _mm_set1_epi16(u'_');
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hits
            = _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, newline), _mm_cmpeq_epi16(v, pipe)),
                                        _mm_or_si128(_mm_cmpeq_epi16(v, star), _mm_cmpeq_epi16(v, point))),
                           _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, paren), _mm_cmpeq_epi16(v, ret)),
                                        _mm_cmpeq_epi16(v, underscore)));
        for (unsigned mask = unsigned(_mm_movemask_epi8(hits)); mask; mask &= ~(3u << __builtin_ctz(mask)))
            scanner.note(i + __builtin_ctz(mask) / 2);
    }
#endif
    for (; i < n; ++i)
        scanner.note(i);
    scanner.finish(n);
}

} // namespace halvex::MarkdownParser::detail
