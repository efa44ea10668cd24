#pragma once
// The line scan's loop for any vector width: LineScan.cpp runs it eight code units at a time, and
// LineScanWide.cpp (built for AVX2, chosen at run time) sixteen. Everything here has internal
// linkage, so neither file can end up running the other's instructions.
//
// Each character of interest becomes a bit mask (two bits per code unit) and a line takes the bits
// below its "\n", so there is no branch per character; most blocks hold none of them at all.
#include "richtext/LineScan.h"

#include <algorithm>
#include <cstdint>

namespace halvex::MarkdownParser::detail {

namespace {

inline bool isDigitBefore(char16_t c) { return (c >= u'0' && c <= u'9') || c >= 0x660; }

// What a run of a line holds, as masks of one block. Number marks are rare: count them bit by bit.
inline void note(LineHints& line, std::uint64_t pipe, std::uint64_t doubleStar, std::uint64_t numberMark)
{
    line.pipe = line.pipe || pipe != 0;
    line.doubleStar = line.doubleStar || doubleStar != 0;
    for (; numberMark; numberMark &= numberMark - 1)
        line.numberMarks += 1;
}

// Lanes: `Vector`, `count` code units per vector, load(), equal(), either() and mask() (two bits
// per code unit), and digits(): the mask of what the glued-list hint counts as a digit.
template <typename Lanes>
void scanBlocks(QStringView text, TextScan& scan)
{
    using Vector = typename Lanes::Vector;
    constexpr std::uint64_t all = (std::uint64_t(1) << (2 * Lanes::count)) - 1;
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    LineHints line;
    Vector returns = Lanes::zero(), underscores = Lanes::zero();
    for (qsizetype at = 0; at < n; at += Lanes::count) {
        Vector v;
        if (at + Lanes::count <= n) {
            v = Lanes::load(p + at);
        } else {
            // The last few code units, padded with NULs: they match nothing looked for here.
            alignas(32) char16_t tail[Lanes::count] = {};
            std::copy(p + at, p + n, tail);
            v = Lanes::load(tail);
        }
        returns = Lanes::either(returns, Lanes::equal(v, u'\r'));
        underscores = Lanes::either(underscores, Lanes::equal(v, u'_'));
        const Vector newlineLanes = Lanes::equal(v, u'\n'), pipeLanes = Lanes::equal(v, u'|'),
                     starLanes = Lanes::equal(v, u'*'),
                     markLanes = Lanes::either(Lanes::equal(v, u'.'), Lanes::equal(v, u')'));
        if (Lanes::mask(Lanes::either(Lanes::either(newlineLanes, pipeLanes), Lanes::either(starLanes, markLanes)))
            == 0)
            continue; // most blocks: letters and blanks
        const std::uint64_t newline = Lanes::mask(newlineLanes), pipe = Lanes::mask(pipeLanes),
                            star = Lanes::mask(starLanes), mark = Lanes::mask(markLanes);

        // What precedes each code unit: this block's own shifted up by one, and before the first,
        // the previous block's last. A line's first code unit follows a "\n", which is neither.
        const char16_t before = at > 0 ? p[at - 1] : 0;
        std::uint64_t doubleStar = 0, numberMark = 0;
        if (star)
            doubleStar = star & ((star << 2) | (before == u'*' ? 3u : 0u));
        if (mark)
            numberMark = mark & ((Lanes::digits(v) << 2) | (isDigitBefore(before) ? 3u : 0u));
        // Each code unit has two bits; a line's run takes one of them.
        doubleStar &= 0x5555555555555555u;
        numberMark &= 0x5555555555555555u;

        std::uint64_t rest = all;
        for (std::uint64_t ends = newline; ends;) {
            const int bit = __builtin_ctzll(ends);
            ends &= ~(std::uint64_t(3) << bit);
            const std::uint64_t ahead = rest & ((std::uint64_t(1) << bit) - 1);
            note(line, pipe & ahead, doubleStar & ahead, numberMark & ahead);
            line.end = at + bit / 2;
            scan.lines.append(line);
            line = {};
            rest &= ~((std::uint64_t(1) << (bit + 2)) - 1);
        }
        note(line, pipe & rest, doubleStar & rest, numberMark & rest);
    }
    line.end = n;
    scan.lines.append(line);
    scan.carriageReturn = Lanes::mask(returns) != 0;
    scan.underscore = Lanes::mask(underscores) != 0;
}

} // namespace

} // namespace halvex::MarkdownParser::detail
