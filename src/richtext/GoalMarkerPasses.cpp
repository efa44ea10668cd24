#include "richtext/GoalMarkerPasses.h"

#include "richtext/MarkdownChars.h"

namespace halvex::MarkdownParser::detail {

namespace {

using namespace MarkdownChars;

constexpr QLatin1StringView countName("goal_output_count");
constexpr QLatin1StringView itemName("goal_item");

// The count marker with its colon and number, from `at`; returns its end, or -1.
qsizetype countMarkerEnd(QStringView s, qsizetype at)
{
    if (!spelledAt(s, at, countName))
        return -1;
    const qsizetype colon = skipBlanks(s, at + countName.size());
    if (colon >= s.size() || s[colon] != u':')
        return -1;
    return digitRunEnd(s, skipBlanks(s, colon + 1), 0);
}

struct ItemMarker {
    qsizetype digitsFrom = -1;
    qsizetype digitsTo = -1;
    qsizetype end = -1; // after the blanks that follow the colon
};

ItemMarker itemMarkerAt(QStringView s, qsizetype at)
{
    if (!spelledAt(s, at, itemName))
        return {};
    const qsizetype digits = skipBlanks(s, at + itemName.size());
    const qsizetype digitsEnd = digitRunEnd(s, digits, 3);
    if (digitsEnd < 0)
        return {};
    const qsizetype colon = skipBlanks(s, digitsEnd);
    if (colon >= s.size() || s[colon] != u':')
        return {};
    return {digits, digitsEnd, skipBlanks(s, colon + 1)};
}

// Where a marker may start: four letters before each underscore.
template <typename Fn>
void forEachMarkerStart(QStringView s, qsizetype from, Fn fn)
{
    for (qsizetype u = indexOf(s, u'_', from + 4); u >= 0; u = indexOf(s, u'_', u + 1)) {
        const qsizetype next = fn(u - 4);
        if (next > u)
            u = next - 1;
    }
}

// One line: gone when it is a count line, else each count marker goes and its separator stays.
void dropCountMarkersInLine(QStringView line, QString& out)
{
    qsizetype lead = 0;
    while (lead < line.size() && (isBlank(line[lead]) || line[lead] == u'>'))
        ++lead;
    if (const qsizetype end = countMarkerEnd(line, lead); end >= 0 && skipBlanks(line, end) == line.size())
        return;
    qsizetype from = 0;
    forEachMarkerStart(line, 0, [&](qsizetype at) -> qsizetype {
        if (at < from || (at > 0 && line[at - 1] != u' ' && line[at - 1] != u'\t' && line[at - 1] != u'\r'))
            return -1;
        const qsizetype end = countMarkerEnd(line, at);
        if (end < 0)
            return -1;
        out += line.sliced(from, at - from);
        from = end;
        return end;
    });
    out += line.sliced(from);
}

} // namespace

bool spelledAt(QStringView text, qsizetype at, QLatin1StringView name)
{
    if (at < 0 || at + name.size() > text.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = text[at + i].unicode();
        const char16_t want = char16_t(name[i].unicode());
        if (c != want && !(want >= u'a' && want <= u'z' && (c | 0x20) == want))
            return false;
    }
    return true;
}

bool isWellFormed(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!c.isSurrogate())
            continue;
        if (c.isLowSurrogate() || i + 1 == text.size() || !text[i + 1].isLowSurrogate())
            return false;
        ++i;
    }
    return true;
}

QString dropCountMarkers(QStringView lines)
{
    QString out;
    out.reserve(lines.size());
    qsizetype from = 0;
    for (qsizetype nl = indexOf(lines, u'\n'); nl >= 0; nl = indexOf(lines, u'\n', from)) {
        dropCountMarkersInLine(lines.sliced(from, nl - from), out);
        out += u'\n';
        from = nl + 1;
    }
    dropCountMarkersInLine(lines.sliced(from), out);
    return out;
}

// At a line's start (after "\n" or "\r"), the blanks before the marker go too.
QString numberGoalItems(QStringView lines)
{
    QString out;
    out.reserve(lines.size());
    qsizetype from = 0;
    forEachMarkerStart(lines, 0, [&](qsizetype at) -> qsizetype {
        if (at < from)
            return -1;
        const ItemMarker item = itemMarkerAt(lines, at);
        if (item.end < 0)
            return -1;
        qsizetype cut = at;
        while (cut > from && isBlank(lines[cut - 1]))
            --cut;
        if (cut > 0 && lines[cut - 1] != u'\n' && lines[cut - 1] != u'\r')
            cut = at;
        out += lines.sliced(from, cut - from);
        out += lines.sliced(item.digitsFrom, item.digitsTo - item.digitsFrom);
        out += QLatin1StringView(". ");
        from = item.end;
        return from;
    });
    out += lines.sliced(from);
    return out;
}

} // namespace halvex::MarkdownParser::detail
