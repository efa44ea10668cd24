// Hand-written scanners equal to the anchored repair patterns; a pattern per line would dominate
// parsing time, and most lines are rejected by their first character.
#include "richtext/LineRepairs.h"

#include "richtext/MarkdownChars.h"

#include <QVarLengthArray>

#include <initializer_list>

namespace halvex::LineRepairs {

namespace {

using namespace MarkdownChars;

QString concat(std::initializer_list<QStringView> parts)
{
    qsizetype size = 0;
    for (QStringView p : parts)
        size += p.size();
    QString out;
    out.reserve(size);
    for (QStringView p : parts)
        out += p;
    return out;
}

bool isBoldMarkerAt(QStringView s, qsizetype i)
{
    return i + 1 < s.size() && ((s[i] == u'*' && s[i + 1] == u'*') || (s[i] == u'_' && s[i + 1] == u'_'));
}

// "**1.** " after the indent: returns the line without the bold.
std::optional<QString> unboldNumber(QStringView line, qsizetype lead)
{
    if (!isBoldMarkerAt(line, lead))
        return std::nullopt;
    const qsizetype numberStart = skipBlanks(line, lead + 2);
    const qsizetype numberEnd = listNumberEnd(line, numberStart);
    if (numberEnd < 0)
        return std::nullopt;
    const qsizetype close = skipBlanks(line, numberEnd);
    if (!isBoldMarkerAt(line, close) || close + 2 >= line.size() || !isBlank(line[close + 2]))
        return std::nullopt;
    const qsizetype rest = skipBlanks(line, close + 2);
    return concat({line.first(lead), line.sliced(numberStart, numberEnd - numberStart), u" ", line.sliced(rest)});
}

// "🚀 2. " after the indent: the number moves before the emoji.
std::optional<QString> emojiAfterNumber(QStringView line, qsizetype lead)
{
    if (lead >= line.size() || emojiWidthAt(line, lead) == 0)
        return std::nullopt;
    qsizetype i = lead;
    while (i < line.size()) {
        const qsizetype w = isBlank(line[i]) ? 1 : emojiWidthAt(line, i);
        if (w == 0)
            break;
        i += w;
    }
    const qsizetype numberEnd = listNumberEnd(line, i);
    if (numberEnd < 0 || numberEnd >= line.size() || !isBlank(line[numberEnd]))
        return std::nullopt;
    const qsizetype rest = skipBlanks(line, numberEnd);
    return concat(
        {line.first(lead), line.sliced(i, numberEnd - i), u" ", line.sliced(lead, i - lead), line.sliced(rest)});
}

// "3.    Text": several blanks after the number become one.
std::optional<QString> unpadNumber(QStringView line, qsizetype lead)
{
    const qsizetype numberEnd = listNumberEnd(line, lead);
    if (numberEnd < 0 || numberEnd + 1 >= line.size() || !isBlank(line[numberEnd]) || !isBlank(line[numberEnd + 1]))
        return std::nullopt;
    return concat({line.first(numberEnd), u" ", line.sliced(skipBlanks(line, numberEnd))});
}

// After a list number at i: white space, then something that is not. Returns where that is.
qsizetype stepBodyAt(QStringView line, qsizetype i)
{
    const qsizetype numberEnd = listNumberEnd(line, i);
    if (numberEnd < 0 || numberEnd >= line.size() || !isWhite(line[numberEnd]))
        return -1;
    const qsizetype body = skipWhite(line, numberEnd);
    return body < line.size() ? body : -1;
}

// Steps at the line start or after a blank, counted without overlap; two are enough to know.
bool hasTwoSteps(QStringView line)
{
    int count = 0;
    qsizetype i = 0;
    if (const qsizetype body = stepBodyAt(line, 0); body >= 0) {
        ++count;
        i = body;
    }
    for (; i + 1 < line.size(); ++i) {
        if (!isBlank(line[i]) || digitWidthAt(line, i + 1) == 0)
            continue;
        if (const qsizetype body = stepBodyAt(line, i + 1); body >= 0) {
            if (++count >= 2)
                return true;
            i = body - 1;
        }
    }
    return false;
}

} // namespace

bool mayHaveListMarker(QStringView line)
{
    const qsizetype lead = skipBlanks(line, 0);
    if (lead > 8 || lead >= line.size())
        return false;
    const char16_t c = line[lead].unicode();
    return c == u'*' || c == u'_' || (c >= u'0' && c <= u'9') || c >= 0xa6;
}

std::optional<QString> listMarkers(QStringView line)
{
    const qsizetype lead = skipBlanks(line, 0);
    if (lead > 8 || lead >= line.size())
        return std::nullopt;
    std::optional<QString> out = unboldNumber(line, lead);
    QStringView current = out ? QStringView(*out) : line;
    if (auto moved = emojiAfterNumber(current, lead)) {
        out = std::move(moved);
        current = *out;
    }
    if (auto unpadded = unpadNumber(current, lead))
        out = std::move(unpadded);
    return out;
}

std::optional<QString> emphasisPadding(QStringView line)
{
    QVarLengthArray<qsizetype, 16> markers;
    for (qsizetype at = indexOf(line, u'*'); at >= 0 && at + 1 < line.size(); at = indexOf(line, u'*', at + 1)) {
        if (line[at + 1] == u'*') {
            markers.append(at);
            ++at;
        }
    }
    // Pieces between the markers: at least three and an odd number, so the markers pair up.
    if (markers.size() < 2 || markers.size() % 2 != 0)
        return std::nullopt;
    bool padded = false;
    for (qsizetype m = 0; m < markers.size(); m += 2) {
        const QStringView inner = line.sliced(markers[m] + 2, markers[m + 1] - markers[m] - 2);
        qsizetype b = 0, e = inner.size();
        while (b < e && isBlank(inner[b]))
            ++b;
        if (b == e)
            return std::nullopt;
        while (isBlank(inner[e - 1]))
            --e;
        padded = padded || b > 0 || e < inner.size();
    }
    if (!padded)
        return std::nullopt;
    QString out;
    out.reserve(line.size());
    qsizetype from = 0;
    for (qsizetype m = 0; m < markers.size(); m += 2) {
        const qsizetype innerStart = markers[m] + 2;
        QStringView inner = line.sliced(innerStart, markers[m + 1] - innerStart);
        while (isBlank(inner.front()))
            inner = inner.sliced(1);
        while (isBlank(inner.back()))
            inner.chop(1);
        out += line.sliced(from, innerStart - from);
        out += inner;
        from = markers[m + 1];
    }
    out += line.sliced(from);
    return out;
}

std::optional<QString> gluedList(QStringView line)
{
    if (contains(line, u'|') || !hasTwoSteps(line))
        return std::nullopt;
    // Every run of blanks followed by a step becomes a paragraph break and "N. ".
    QString out;
    out.reserve(line.size() + 16);
    qsizetype from = 0;
    for (qsizetype i = 0; i < line.size();) {
        if (!isBlank(line[i])) {
            ++i;
            continue;
        }
        const qsizetype runEnd = skipBlanks(line, i);
        const qsizetype body = stepBodyAt(line, runEnd);
        if (body < 0) {
            i = runEnd;
            continue;
        }
        qsizetype digitsEnd = runEnd;
        while (line[digitsEnd] != u'.' && line[digitsEnd] != u')')
            ++digitsEnd;
        out += line.sliced(from, i - from);
        out += QLatin1String("\n\n");
        out += line.sliced(runEnd, digitsEnd - runEnd);
        out += QLatin1String(". ");
        from = i = body;
    }
    out += line.sliced(from);
    return out;
}

} // namespace halvex::LineRepairs
