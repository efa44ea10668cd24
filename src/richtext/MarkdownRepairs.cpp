// Repairs of language-model habits, applied before blocks are read. Each pattern is compiled once;
// cheap scans decide whether a line needs the pattern at all.
#include "richtext/MarkdownLines.h"
#include "richtext/MarkdownParser.h"
#include "richtext/MarkdownRepairs.h"

#include <QRegularExpression>

namespace halvex::MarkdownParser {

namespace {

using namespace MarkdownLines;

QRegularExpression compiled(const QString& pattern, QRegularExpression::PatternOptions options = {})
{
    QRegularExpression re(pattern, options);
    re.optimize();
    return re;
}

constexpr auto ci = QRegularExpression::CaseInsensitiveOption;
constexpr auto ml = QRegularExpression::MultilineOption;

QString unifyBreaks(const QString& text)
{
    if (!text.contains(u'\r'))
        return text;
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

// Applies fn to each line outside code fences; fence lines are kept as they are.
template<typename Fn>
QString mapLinesOutsideCode(const QString& text, Fn fn)
{
    QString out;
    out.reserve(text.size() + 16);
    bool inCode = false;
    qsizetype from = 0;
    for (;;) {
        const qsizetype nl = text.indexOf(u'\n', from);
        const QStringView line = nl < 0 ? QStringView(text).sliced(from) : QStringView(text).sliced(from, nl - from);
        if (isFence(line)) {
            inCode = !inCode;
            out += line;
        } else if (inCode) {
            out += line;
        } else {
            fn(line, out);
        }
        if (nl < 0)
            break;
        out += u'\n';
        from = nl + 1;
    }
    return out;
}

qsizetype leadingBlanks(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return i;
}

// Counts "(?:^|[ \t])\d{1,3}[.)]\s+(?=\S)" without a regular expression.
int gluedNumberCount(QStringView line)
{
    int count = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (!line[i].isDigit() || (i > 0 && !isBlank(line[i - 1])))
            continue;
        qsizetype j = i;
        while (j < line.size() && line[j].isDigit() && j - i < 4)
            ++j;
        if (j - i > 3 || j >= line.size() || (line[j] != u'.' && line[j] != u')'))
            continue;
        qsizetype k = j + 1;
        if (k >= line.size() || !line[k].isSpace())
            continue;
        while (k < line.size() && line[k].isSpace())
            ++k;
        if (k < line.size())
            ++count;
        i = j;
    }
    return count;
}

// Digits, "." or ")", then two or more blanks: the only lines the padded-number pattern changes.
bool hasPaddedNumber(QStringView line, qsizetype lead)
{
    qsizetype i = lead;
    while (i < line.size() && line[i].isDigit())
        ++i;
    if (i == lead || i >= line.size() || (line[i] != u'.' && line[i] != u')'))
        return false;
    return i + 2 < line.size() && isBlank(line[i + 1]) && isBlank(line[i + 2]);
}

// A case-insensitive "GOAL_" search by its rare underscore; far cheaper than a folded search.
bool mentionsGoal(QStringView text)
{
    for (qsizetype at = text.indexOf(u'_', 4); at >= 0; at = text.indexOf(u'_', at + 1)) {
        const QStringView word = text.sliced(at - 4, 4);
        if (word.compare(u"goal", Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Which list-marker patterns could change the line; most lines need none of them.
struct ListMarkerHints {
    qsizetype lead = 0;
    bool bold = false, emoji = false, number = false;
    bool any() const { return bold || emoji || number; }
};

ListMarkerHints listMarkerHints(QStringView line)
{
    ListMarkerHints h;
    h.lead = leadingBlanks(line);
    if (h.lead > 8 || h.lead >= line.size())
        return h;
    const QChar first = line[h.lead];
    if ((first == u'*' || first == u'_') && h.lead + 1 < line.size() && line[h.lead + 1] == first) {
        qsizetype i = h.lead + 2;
        while (i < line.size() && isBlank(line[i]))
            ++i;
        h.bold = i < line.size() && line[i].isDigit();
    }
    h.emoji = first.isSurrogate() || first.category() == QChar::Symbol_Other || first == QChar(0xFE0F)
        || first == QChar(0x200D);
    h.number = first.isDigit() && hasPaddedNumber(line, h.lead);
    return h;
}

void repairListMarkerLine(QStringView line, QString& out)
{
    static const QRegularExpression boldNumber = compiled(
        QStringLiteral("^([ \\t]{0,8})(?:\\*\\*|__)[ \\t]*(\\d{1,3}[.)])[ \\t]*(?:\\*\\*|__)[ \\t]+"));
    static const QRegularExpression emojiNumber = compiled(
        QStringLiteral("^([ \\t]{0,8})([\\p{So}\\x{FE0F}\\x{200D}][\\p{So}\\x{FE0F}\\x{200D} \\t]*)(\\d{1,3}[.)])[ \\t]+"));
    static const QRegularExpression paddedNumber = compiled(QStringLiteral("^([ \\t]{0,8}\\d{1,3}[.)])[ \\t]{2,}"));
    const ListMarkerHints hints = listMarkerHints(line);
    if (!hints.any()) {
        out += line;
        return;
    }
    const qsizetype lead = hints.lead;
    QString l = line.toString();
    if (hints.bold)
        l.replace(boldNumber, QStringLiteral("\\1\\2 "));
    if (hints.emoji)
        l.replace(emojiNumber, QStringLiteral("\\1\\3 \\2"));
    if (hasPaddedNumber(l, lead))
        l.replace(paddedNumber, QStringLiteral("\\1 "));
    out += l;
}

void repairEmphasisLine(QStringView line, QString& out)
{
    if (!hasDoubleStar(line)) {
        out += line;
        return;
    }
    const QList<QStringView> pieces = line.split(u"**");
    if (pieces.size() < 3 || pieces.size() % 2 == 0) {
        out += line;
        return;
    }
    QString joined;
    joined.reserve(line.size());
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QStringView piece = pieces[i];
        if (i % 2 == 1) {
            piece = trimBlanks(piece);
            if (piece.isEmpty()) {
                out += line;
                return;
            }
        }
        if (i > 0)
            joined += QLatin1String("**");
        joined += piece;
    }
    out += joined;
}

void repairGluedLine(QStringView line, QString& out)
{
    static const QRegularExpression glued = compiled(QStringLiteral("[ \\t]+(\\d{1,3})[.)]\\s+(?=\\S)"));
    if (line.contains(u'|') || gluedNumberCount(line) < 2) {
        out += line;
        return;
    }
    QString l = line.toString();
    l.replace(glued, QStringLiteral("\n\n\\1. "));
    out += l;
}

} // namespace

QString stripGoalMarkers(const QString& text)
{
    static const QRegularExpression any = compiled(QStringLiteral("GOAL_(ITEM|OUTPUT_COUNT)"), ci);
    if (!mentionsGoal(text) || !any.match(text).hasMatch())
        return text;
    static const QRegularExpression countLine
        = compiled(QStringLiteral("^[ \\t>]*GOAL_OUTPUT_COUNT[ \\t]*:[ \\t]*\\d+[ \\t]*$"), ci | ml);
    static const QRegularExpression countInline
        = compiled(QStringLiteral("(^|[\\n\\r\\t ])GOAL_OUTPUT_COUNT[ \\t]*:[ \\t]*\\d+"), ci | ml);
    static const QRegularExpression itemLine
        = compiled(QStringLiteral("(^|[\\n\\r])[ \\t]*GOAL_ITEM[ \\t]*(\\d{1,3})[ \\t]*:[ \\t]*"), ci | ml);
    static const QRegularExpression itemInline = compiled(QStringLiteral("GOAL_ITEM[ \\t]*(\\d{1,3})[ \\t]*:[ \\t]*"), ci);
    static const QRegularExpression manyBreaks = compiled(QStringLiteral("\\n{3,}"));
    QString out = text;
    out.replace(countLine, QString());
    out.replace(countInline, QStringLiteral("\\1"));
    out.replace(itemLine, QStringLiteral("\\1\\2. "));
    out.replace(itemInline, QStringLiteral("\\1. "));
    out.replace(manyBreaks, QStringLiteral("\n\n"));
    return out.trimmed();
}

QString normalizeListMarkers(const QString& text)
{
    return mapLinesOutsideCode(unifyBreaks(text), &repairListMarkerLine);
}

QString normalizeEmphasisPadding(const QString& text)
{
    if (!hasDoubleStar(text))
        return text;
    return mapLinesOutsideCode(unifyBreaks(text), &repairEmphasisLine);
}

QString normalizeGluedLists(const QString& text)
{
    QString unified = unifyBreaks(text);
    if (unified.contains(u'\r'))
        unified.replace(u'\r', u'\n');
    return mapLinesOutsideCode(unified, &repairGluedLine);
}

} // namespace halvex::MarkdownParser

namespace halvex::MarkdownParser::detail {

// The three line repairs in one pass, as parse() needs them: same result as running them one
// after another, without copying the text three times. A lone "\r" splits a line only for the
// glued-list repair, so that repair keeps its own code-fence state.
QString repairLines(const QString& text)
{
    using namespace MarkdownLines;
    const QString unified = unifyBreaks(text);
    QString out;
    out.reserve(unified.size() + 16);
    QString stage;
    bool inCode = false, inCodeGlued = false;
    auto glued = [&](QStringView line) {
        if (isFence(line)) {
            inCodeGlued = !inCodeGlued;
            out += line;
        } else if (inCodeGlued) {
            out += line;
        } else {
            repairGluedLine(line, out);
        }
    };
    qsizetype from = 0;
    for (;;) {
        const qsizetype nl = unified.indexOf(u'\n', from);
        const QStringView line = nl < 0 ? QStringView(unified).sliced(from) : QStringView(unified).sliced(from, nl - from);
        QStringView repaired = line;
        if (isFence(line)) {
            inCode = !inCode;
        } else if (!inCode && (listMarkerHints(line).any() || hasDoubleStar(line))) {
            stage.clear();
            repairListMarkerLine(line, stage);
            QString second;
            repairEmphasisLine(stage, second);
            stage = std::move(second);
            repaired = stage;
        }
        if (repaired.contains(u'\r')) {
            qsizetype sub = 0;
            for (;;) {
                const qsizetype cr = repaired.indexOf(u'\r', sub);
                glued(cr < 0 ? repaired.sliced(sub) : repaired.sliced(sub, cr - sub));
                if (cr < 0)
                    break;
                out += u'\n';
                sub = cr + 1;
            }
        } else {
            glued(repaired);
        }
        if (nl < 0)
            break;
        out += u'\n';
        from = nl + 1;
    }
    return out;
}

} // namespace halvex::MarkdownParser::detail
