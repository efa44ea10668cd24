#include "richtext/inline/InlineScanner.h"

#include "richtext/MarkdownChars.h"

namespace halvex::InlineMarkup {

namespace {

using MarkdownChars::isWhite;

bool isAsciiAlpha(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool isAsciiAlnum(QChar c) { return isAsciiAlpha(c) || (c.unicode() >= u'0' && c.unicode() <= u'9'); }

bool isControl(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f); }

qsizetype skipSpaceAndOneNewline(QStringView s, qsizetype i)
{
    bool newline = false;
    while (i < s.size() && isWhite(s[i])) {
        if (s[i] == u'\n') {
            if (newline)
                break;
            newline = true;
        }
        ++i;
    }
    return i;
}

bool startsWithIgnoringCase(QStringView s, qsizetype at, QStringView word)
{
    return s.size() - at >= word.size() && s.sliced(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

bool isAsciiPunctuation(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x21 && u <= 0x2f) || (u >= 0x3a && u <= 0x40) || (u >= 0x5b && u <= 0x60) || (u >= 0x7b && u <= 0x7e);
}

LinkTail readLinkTail(QStringView s, qsizetype open)
{
    if (open >= s.size() || s[open] != u'(')
        return {};
    qsizetype i = skipSpaceAndOneNewline(s, open + 1);
    QString destination;
    if (i < s.size() && s[i] == u'<') {
        for (++i; i < s.size() && s[i] != u'>'; ++i) {
            if (s[i] == u'\n' || s[i] == u'<')
                return {};
            if (s[i] == u'\\' && i + 1 < s.size() && isAsciiPunctuation(s[i + 1]))
                ++i;
            destination += s[i];
        }
        if (i >= s.size())
            return {};
        ++i;
    } else {
        int depth = 0;
        for (; i < s.size(); ++i) {
            const QChar c = s[i];
            if (isWhite(c) || isControl(c))
                break;
            if (c == u'\\' && i + 1 < s.size() && isAsciiPunctuation(s[i + 1])) {
                destination += s[++i];
                continue;
            }
            if (c == u'(' && ++depth > 32)
                return {};
            if (c == u')' && depth-- == 0)
                break;
            destination += c;
        }
        if (depth > 0)
            return {};
    }
    const qsizetype afterDestination = i;
    i = skipSpaceAndOneNewline(s, i);
    if (i < s.size() && i > afterDestination && (s[i] == u'"' || s[i] == u'\'')) {
        // The title ends at the next unescaped quote of its kind, so two titles never share text.
        const QChar quote = s[i];
        for (++i; i < s.size() && s[i] != quote; ++i)
            if (s[i] == u'\\' && i + 1 < s.size())
                ++i;
        if (i >= s.size())
            return {};
        i = skipSpaceAndOneNewline(s, i + 1);
    }
    if (i >= s.size() || s[i] != u')')
        return {};
    return {i + 1, destination};
}

qsizetype readAutolink(QStringView s, qsizetype at, QString* target)
{
    qsizetype i = at + 1;
    // "<scheme:…>": a scheme of 2 to 32 characters, then anything but white space, "<" and ">".
    if (i < s.size() && isAsciiAlpha(s[i])) {
        qsizetype j = i + 1;
        while (j < s.size() && j - i < 33 && (isAsciiAlnum(s[j]) || s[j] == u'+' || s[j] == u'.' || s[j] == u'-'))
            ++j;
        if (j < s.size() && s[j] == u':' && j - i >= 2) {
            qsizetype k = j + 1;
            while (k < s.size() && s[k] != u'>' && s[k] != u'<' && !isWhite(s[k]) && !isControl(s[k]))
                ++k;
            if (k < s.size() && s[k] == u'>') {
                *target = s.sliced(i, k - i).toString();
                return k + 1;
            }
            return -1;
        }
    }
    // "<name@host.example>"
    static const QString localExtras = QStringLiteral(".!#$%&'*+/=?^_`{|}~-");
    qsizetype j = i;
    while (j < s.size() && (isAsciiAlnum(s[j]) || localExtras.contains(s[j])))
        ++j;
    if (j == i || j >= s.size() || s[j] != u'@')
        return -1;
    qsizetype k = j + 1;
    while (k < s.size() && (isAsciiAlnum(s[k]) || s[k] == u'-' || s[k] == u'.'))
        ++k;
    if (k == j + 1 || k >= s.size() || s[k] != u'>' || s[k - 1] == u'.' || s[j + 1] == u'.')
        return -1;
    *target = QLatin1String("mailto:") + s.sliced(i, k - i).toString();
    return k + 1;
}

qsizetype readBareAddress(QStringView s, qsizetype at)
{
    if (at > 0 && (s[at - 1].isLetterOrNumber() || s[at - 1] == u'/'))
        return -1;
    qsizetype i = at;
    if (startsWithIgnoringCase(s, i, u"https://"))
        i += 8;
    else if (startsWithIgnoringCase(s, i, u"http://"))
        i += 7;
    else
        return -1;
    // The address pattern's own stops, and brackets, so that "[https://a](…)" stays a link label.
    qsizetype end = i;
    int open = 0, close = 0;
    while (end < s.size()) {
        const QChar c = s[end];
        if (isWhite(c) || isControl(c) || c == u'<' || c == u'>' || c == u'"' || c == u'\'' || c == u'[' || c == u']')
            break;
        open += c == u'(';
        close += c == u')';
        ++end;
    }
    static const QString sentenceEnd = QStringLiteral(".,;:!?*_~");
    while (end > i) {
        const QChar last = s[end - 1];
        if (sentenceEnd.contains(last)) {
            --end;
        } else if (last == u')' && close > open) {
            --end;
            --close;
        } else {
            break;
        }
    }
    return end > i ? end : -1;
}

qsizetype readMention(QStringView s, qsizetype at)
{
    if (at > 0) {
        const QChar before = s[at - 1];
        if (before.isLetterOrNumber() || before.isMark() || before == u'_' || before == u'.' || before == u'-'
            || before == u'+' || before.isLowSurrogate())
            return -1;
    }
    qsizetype i = at + 1;
    while (i < s.size()) {
        qsizetype width = 1;
        const char32_t c = MarkdownChars::codePointAt(s, i, &width);
        // A lone surrogate reads as itself, which is no letter.
        const bool handle = (c >= U'0' && c <= U'9') || c == U'_' || c == U'-' || QChar::isLetter(c);
        if (!handle)
            break;
        i += width;
    }
    return i > at + 1 ? i : -1;
}

bool isSourceLine(QStringView s, qsizetype at)
{
    qsizetype i = MarkdownChars::skipBlanks(s, at);
    for (QStringView word :
         {QStringView(u"sources"), QStringView(u"source"), QStringView(u"источники"), QStringView(u"источник")}) {
        if (!startsWithIgnoringCase(s, i, word))
            continue;
        const qsizetype colon = MarkdownChars::skipBlanks(s, i + word.size());
        return colon < s.size() && s[colon] == u':';
    }
    return false;
}

} // namespace halvex::InlineMarkup
