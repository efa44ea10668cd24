#include "richtext/MarkdownLines.h"

#include "richtext/MarkdownChars.h"

namespace halvex::MarkdownLines {

namespace {

using namespace MarkdownChars;

int indentOf(QStringView prefix)
{
    int n = 0;
    for (QChar c : prefix)
        n += c == u'\t' ? 4 : 1;
    return n;
}

// Leading blanks and tabs, or -1 when there are more than eight (no list item then).
qsizetype listLead(QStringView line)
{
    const qsizetype i = skipBlanks(line, 0);
    return i <= 8 ? i : -1;
}

// After a marker: white space, then something that is not. Returns where that is, or -1.
qsizetype bodyStart(QStringView line, qsizetype afterMarker)
{
    if (afterMarker >= line.size() || !isWhite(line[afterMarker]))
        return -1;
    const qsizetype i = skipWhite(line, afterMarker);
    return i < line.size() ? i : -1;
}

std::optional<int> decimal(QStringView digits)
{
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

} // namespace

QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

bool hasDoubleStar(QStringView s)
{
    for (qsizetype at = indexOf(s, u'*'); at >= 0 && at + 1 < s.size(); at = indexOf(s, u'*', at + 1)) {
        if (s[at + 1] == u'*')
            return true;
    }
    return false;
}

bool startsWithFence(QStringView t) { return t.size() >= 3 && t[0] == u'`' && t[1] == u'`' && t[2] == u'`'; }

bool isFence(QStringView line) { return startsWithFence(line.sliced(skipWhite(line, 0))); }

bool isRuleText(QStringView t) { return t.size() == 3 && (t == u"---" || t == u"***" || t == u"___"); }

std::optional<Heading> heading(QStringView t)
{
    qsizetype n = 0;
    while (n < t.size() && t[n] == u'#')
        ++n;
    if (n < 1 || n > 6 || n >= t.size() || !isBlank(t[n]))
        return std::nullopt;
    return Heading{int(n), trimBlanks(t.sliced(n))};
}

bool isTableSeparator(QStringView line)
{
    bool pipe = false, dash = false;
    for (QChar c : line) {
        if (c == u'|')
            pipe = true;
        else if (c == u'-')
            dash = true;
        else if (c != u':' && !isBlank(c))
            return false;
    }
    return pipe && dash;
}

QStringList splitRow(QStringView line)
{
    QStringView t = trimBlanks(line);
    if (t.startsWith(u'|'))
        t = t.sliced(1);
    if (t.endsWith(u'|'))
        t.chop(1);
    QStringList cells;
    qsizetype bars = 0;
    for (QChar c : t)
        bars += c == u'|';
    cells.reserve(bars + 1);
    qsizetype from = 0;
    for (;;) {
        const qsizetype bar = indexOf(t, u'|', from);
        const QStringView cell = bar < 0 ? t.sliced(from) : t.sliced(from, bar - from);
        cells.append(trimBlanks(cell).toString());
        if (bar < 0)
            break;
        from = bar + 1;
    }
    return cells;
}

std::optional<Item> bulletItem(QStringView line)
{
    const qsizetype lead = listLead(line);
    if (lead < 0 || lead >= line.size())
        return std::nullopt;
    const QChar m = line[lead];
    if (m != u'-' && m != u'*' && m != u'+' && m != u'•')
        return std::nullopt;
    const qsizetype body = bodyStart(line, lead + 1);
    if (body < 0)
        return std::nullopt;
    return Item{indentOf(line.first(lead)), 0, line.sliced(body).trimmed()};
}

std::optional<Item> orderedItem(QStringView line)
{
    const qsizetype lead = listLead(line);
    if (lead < 0 || lead >= line.size())
        return std::nullopt;
    const qsizetype after = listNumberEnd(line, lead);
    if (after < 0)
        return std::nullopt;
    const qsizetype body = bodyStart(line, after);
    if (body < 0)
        return std::nullopt;
    const auto number = decimal(line.sliced(lead, after - 1 - lead));
    if (!number)
        return std::nullopt;
    return Item{indentOf(line.first(lead)), *number, line.sliced(body).trimmed()};
}

bool isBareListNumber(QStringView t)
{
    const qsizetype after = listNumberEnd(t, 0);
    return after >= 0 && skipWhite(t, after) == t.size();
}

std::optional<int> bareListNumber(QStringView t)
{
    if (!isBareListNumber(t))
        return std::nullopt;
    return decimal(t.first(listNumberEnd(t, 0) - 1));
}

bool isLazyContinuation(QStringView line)
{
    const QStringView t = trimBlanks(line);
    if (t.isEmpty() || startsWithFence(t) || t.startsWith(u'>') || isRuleText(t))
        return false;
    return !heading(t) && !bulletItem(line) && !orderedItem(line) && !isBareListNumber(t) && !isTableSeparator(line);
}

} // namespace halvex::MarkdownLines
