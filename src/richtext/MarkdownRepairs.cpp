// The whole-text repairs: each walks the lines, leaves code fences alone and copies nothing when
// no line changes.
#include "richtext/MarkdownRepairs.h"

#include "richtext/LineRepairs.h"
#include "richtext/MarkdownChars.h"
#include "richtext/MarkdownLines.h"
#include "richtext/MarkdownParser.h"

namespace halvex::MarkdownParser {

namespace {

using LineRepair = std::optional<QString> (*)(QStringView);

QString unifyBreaks(const QString& text)
{
    if (!text.contains(u'\r'))
        return text;
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

// Collects the output only from the first changed line on; until then the input stands.
class LineWriter {
public:
    explicit LineWriter(const QString& text) : m_text(text) {}

    void replace(qsizetype start, qsizetype end, QStringView with)
    {
        if (!m_changed) {
            m_out.reserve(m_text.size() + 64);
            m_changed = true;
        }
        m_out += QStringView(m_text).sliced(m_flushed, start - m_flushed);
        m_out += with;
        m_flushed = end;
    }

    QString result()
    {
        if (!m_changed)
            return m_text;
        m_out += QStringView(m_text).sliced(m_flushed);
        return std::move(m_out);
    }

private:
    const QString& m_text;
    QString m_out;
    qsizetype m_flushed = 0;
    bool m_changed = false;
};

template <typename Fn>
void forEachLine(QStringView text, QChar separator, Fn fn)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype end = text.indexOf(separator, from);
        fn(from, end < 0 ? text.size() : end);
        if (end < 0)
            break;
        from = end + 1;
    }
}

// Applies repair to every line outside code fences; fence lines are kept as they are.
QString repairOutsideCode(const QString& text, QChar separator, LineRepair repair)
{
    LineWriter writer(text);
    bool inCode = false;
    forEachLine(text, separator, [&](qsizetype start, qsizetype end) {
        const QStringView line = QStringView(text).sliced(start, end - start);
        if (MarkdownLines::isFence(line))
            inCode = !inCode;
        else if (!inCode)
            if (auto repaired = repair(line))
                writer.replace(start, end, *repaired);
    });
    return writer.result();
}

} // namespace

QString normalizeListMarkers(const QString& text)
{
    return repairOutsideCode(unifyBreaks(text), u'\n', &LineRepairs::listMarkers);
}

QString normalizeEmphasisPadding(const QString& text)
{
    if (!MarkdownLines::hasDoubleStar(text))
        return text;
    return repairOutsideCode(unifyBreaks(text), u'\n', &LineRepairs::emphasisPadding);
}

QString normalizeGluedLists(const QString& text)
{
    QString unified = unifyBreaks(text);
    if (unified.contains(u'\r'))
        unified.replace(u'\r', u'\n');
    return repairOutsideCode(unified, u'\n', &LineRepairs::gluedList);
}

} // namespace halvex::MarkdownParser

namespace halvex::MarkdownParser::detail {

namespace {

// The three line repairs in order, each only where the line's hints allow it.
std::optional<QString> repairLine(QStringView line, const LineHints& hints)
{
    std::optional<QString> repaired;
    if (LineRepairs::mayHaveListMarker(line))
        repaired = LineRepairs::listMarkers(line);
    if (hints.doubleStar)
        if (auto e = LineRepairs::emphasisPadding(repaired ? QStringView(*repaired) : line))
            repaired = std::move(e);
    // The earlier repairs add no pipe and no digit before a point, so the hints still hold.
    if (!hints.pipe && hints.numberMarks >= 2)
        if (auto g = LineRepairs::gluedList(repaired ? QStringView(*repaired) : line))
            repaired = std::move(g);
    return repaired;
}

// A repaired line's own lines, placed at `at` in the output.
void appendLines(LineSpans& lines, QStringView repaired, qsizetype at)
{
    qsizetype from = 0;
    for (qsizetype nl = MarkdownChars::indexOf(repaired, u'\n'); nl >= 0;
         nl = MarkdownChars::indexOf(repaired, u'\n', from)) {
        lines.append({at + from, at + nl});
        from = nl + 1;
    }
    lines.append({at + from, at + repaired.size()});
}

} // namespace

void repairScanned(const QString& text, const TextScan& scan, RepairedText& out)
{
    LineWriter writer(text);
    qsizetype shift = 0; // how far the repairs so far moved the output against the input
    qsizetype start = 0;
    bool inCode = false;
    out.lines.reserve(scan.lines.size());
    for (const LineHints& hints : scan.lines) {
        const QStringView line = QStringView(text).sliced(start, hints.end - start);
        std::optional<QString> repaired;
        if (MarkdownLines::isFence(line))
            inCode = !inCode;
        else if (!inCode)
            repaired = repairLine(line, hints);
        if (repaired) {
            writer.replace(start, hints.end, *repaired);
            appendLines(out.lines, *repaired, start + shift);
            shift += repaired->size() - line.size();
        } else {
            out.lines.append({start + shift, hints.end + shift});
        }
        start = hints.end + 1;
    }
    out.text = writer.result();
}

// A lone "\r" ends a line only for the glued-list repair (the others split on "\n" alone), so
// such text runs the repairs one after another, each unifying breaks once itself: unifying twice
// would fold "\r\r\n" down to one break where the repairs keep two.
QString repairLines(const QString& text)
{
    TextScan scan;
    scanText(text, scan);
    if (scan.carriageReturn)
        return normalizeGluedLists(normalizeEmphasisPadding(normalizeListMarkers(text)));
    RepairedText out;
    repairScanned(text, scan, out);
    return std::move(out.text);
}

} // namespace halvex::MarkdownParser::detail
