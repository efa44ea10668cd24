// The line scan sixteen code units at a time; built with AVX2 enabled (src/richtext/CMakeLists.txt)
// and run only where the processor has it.
#if defined(HALVEX_SCAN_WIDE) && defined(__AVX2__)
#include "richtext/LineScanBlocks.h"

#include <immintrin.h>

namespace halvex::MarkdownParser::detail {

namespace {

struct Avx2Lanes {
    using Vector = __m256i;
    static constexpr qsizetype count = 16;

    static Vector zero() { return _mm256_setzero_si256(); }
    static Vector load(const char16_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static Vector equal(Vector v, char16_t c) { return _mm256_cmpeq_epi16(v, _mm256_set1_epi16(short(c))); }
    static Vector either(Vector a, Vector b) { return _mm256_or_si256(a, b); }
    static std::uint64_t mask(Vector v) { return std::uint32_t(_mm256_movemask_epi8(v)); }

    static std::uint64_t digits(Vector v)
    {
        const Vector ascii = _mm256_cmpeq_epi16(
            _mm256_subs_epu16(_mm256_sub_epi16(v, _mm256_set1_epi16(u'0')), _mm256_set1_epi16(9)), zero());
        const Vector below = _mm256_cmpeq_epi16(_mm256_subs_epu16(v, _mm256_set1_epi16(0x65f)), zero());
        return mask(ascii) | (~mask(below) & 0xffffffffu);
    }
};

} // namespace

void scanTextWide(QStringView text, TextScan& scan) { scanBlocks<Avx2Lanes>(text, scan); }

} // namespace halvex::MarkdownParser::detail
#endif
