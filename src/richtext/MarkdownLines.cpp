#include "richtext/MarkdownLines.h"

namespace halvex::MarkdownLines {

namespace {

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
    qsizetype i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return i <= 8 ? i : -1;
}

// After a marker: one or more white space, then something that is not.
std::optional<qsizetype> bodyStart(QStringView line, qsizetype afterMarker)
{
    qsizetype i = afterMarker;
    if (i >= line.size() || !line[i].isSpace())
        return std::nullopt;
    while (i < line.size() && line[i].isSpace())
        ++i;
    if (i >= line.size())
        return std::nullopt;
    return i;
}

// 1-3 digits then "." or ")"; returns the index after the marker.
std::optional<qsizetype> numberMarker(QStringView s, qsizetype from)
{
    qsizetype i = from;
    while (i < s.size() && s[i].isDigit() && i - from < 4)
        ++i;
    const qsizetype digits = i - from;
    if (digits < 1 || digits > 3 || i >= s.size())
        return std::nullopt;
    if (s[i] != u'.' && s[i] != u')')
        return std::nullopt;
    return i + 1;
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
    for (qsizetype at = s.indexOf(u'*'); at >= 0 && at + 1 < s.size(); at = s.indexOf(u'*', at + 2)) {
        if (s[at + 1] == u'*')
            return true;
    }
    return false;
}

bool isFence(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i].isSpace())
        ++i;
    return line.size() - i >= 3 && line[i] == u'`' && line[i + 1] == u'`' && line[i + 2] == u'`';
}

bool isRuleText(QStringView t)
{
    return t == u"---" || t == u"***" || t == u"___";
}

std::optional<Heading> heading(QStringView t)
{
    qsizetype n = 0;
    while (n < t.size() && t[n] == u'#')
        ++n;
    if (n < 1 || n > 6 || n >= t.size() || !isBlank(t[n]))
        return std::nullopt;
    return Heading{int(n), trimBlanks(t.sliced(n)).toString()};
}

bool isTableSeparator(QStringView line)
{
    const QStringView t = trimBlanks(line);
    bool pipe = false, dash = false;
    for (QChar c : t) {
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
    qsizetype from = 0;
    for (;;) {
        const qsizetype bar = t.indexOf(u'|', from);
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
    const auto body = bodyStart(line, lead + 1);
    if (!body)
        return std::nullopt;
    return Item{indentOf(line.first(lead)), 0, line.sliced(*body).trimmed().toString()};
}

std::optional<Item> orderedItem(QStringView line)
{
    const qsizetype lead = listLead(line);
    if (lead < 0)
        return std::nullopt;
    const auto after = numberMarker(line, lead);
    if (!after)
        return std::nullopt;
    const auto body = bodyStart(line, *after);
    if (!body)
        return std::nullopt;
    bool ok = false;
    const int number = line.sliced(lead, *after - 1 - lead).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return Item{indentOf(line.first(lead)), number, line.sliced(*body).trimmed().toString()};
}

bool isBareListNumber(QStringView t)
{
    const auto after = numberMarker(t, 0);
    if (!after)
        return false;
    for (qsizetype i = *after; i < t.size(); ++i)
        if (!t[i].isSpace())
            return false;
    return true;
}

bool isLazyContinuation(QStringView line)
{
    const QStringView t = trimBlanks(line);
    if (t.isEmpty() || t.startsWith(u"```") || t.startsWith(u'>') || isRuleText(t))
        return false;
    return !heading(t) && !bulletItem(line) && !orderedItem(line) && !isBareListNumber(t) && !isTableSeparator(line);
}

} // namespace halvex::MarkdownLines
