#include "richtext/BlockReader.h"

#include "richtext/MarkdownChars.h"
#include "richtext/MarkdownLines.h"

#include <QVarLengthArray>

#include <algorithm>

namespace halvex::MarkdownParser::detail {

namespace {

using namespace MarkdownLines;

// Lines joined by "\n" into a string of exactly their size.
QString joinLines(const QStringView* lines, qsizetype count)
{
    if (count == 0)
        return QString();
    qsizetype size = count - 1;
    for (qsizetype i = 0; i < count; ++i)
        size += lines[i].size();
    QString out(size, Qt::Uninitialized);
    QChar* to = out.data();
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            *to++ = u'\n';
        std::copy(lines[i].begin(), lines[i].end(), to);
        to += lines[i].size();
    }
    return out;
}

class BlockReader {
public:
    // Blocks are mostly runs of lines set apart by empty ones, which makes the runs' count a fair
    // first guess; it never exceeds the lines that hold something (a text of bare line breaks
    // reserves nothing).
    BlockReader(QStringView text, const LineSpans& lines) : m_text(text), m_lines(lines)
    {
        qsizetype runs = 0;
        bool previousEmpty = true;
        for (const LineSpan& l : lines) {
            const bool empty = l.start == l.end;
            runs += previousEmpty && !empty;
            previousEmpty = empty;
        }
        m_blocks.reserve(runs);
    }

    QList<MDBlock> read()
    {
        while (m_at < m_lines.size())
            step();
        flush();
        return std::move(m_blocks);
    }

private:
    // Buffered paragraph lines are consecutive, so their join is one slice of the text.
    void flush()
    {
        if (m_paragraphFrom < 0)
            return;
        m_blocks.append(MDBlock::paragraph(span(m_paragraphFrom, m_paragraphTo).toString()));
        m_paragraphFrom = -1;
    }

    QStringView lineAt(qsizetype i) const { return m_text.sliced(m_lines[i].start, m_lines[i].end - m_lines[i].start); }

    QStringView span(qsizetype first, qsizetype last) const
    {
        return m_text.sliced(m_lines[first].start, m_lines[last].end - m_lines[first].start);
    }

    void push(MDBlock block)
    {
        flush();
        m_blocks.append(std::move(block));
    }

    void step()
    {
        const QStringView line = lineAt(m_at);
        const QStringView t = trimBlanks(line);
        if (t.isEmpty()) {
            flush();
            ++m_at;
            return;
        }
        if (startsWithFence(t))
            return readCode();
        if (isRuleText(t)) {
            push(MDBlock::rule());
            ++m_at;
            return;
        }
        if (const auto h = heading(t)) {
            push(MDBlock::heading(h->level, h->text.toString()));
            ++m_at;
            return;
        }
        if (m_at + 1 < m_lines.size() && isTableSeparator(lineAt(m_at + 1)) && MarkdownChars::contains(t, u'|'))
            return readTable(t);
        if (const auto item = bulletItem(line))
            return readList(false, *item);
        if (const auto item = orderedItem(line))
            return readList(true, *item);
        if (const auto number = bareListNumber(t)) {
            push(MDBlock::olnum(*number));
            ++m_at;
            return;
        }
        if (t.startsWith(u'>'))
            return readQuote();
        if (m_paragraphFrom < 0)
            m_paragraphFrom = m_at;
        m_paragraphTo = m_at++;
    }

    // Without a closing fence the code runs to the end of the text.
    void readCode()
    {
        flush();
        const qsizetype first = ++m_at;
        while (m_at < m_lines.size() && !startsWithFence(trimBlanks(lineAt(m_at))))
            ++m_at;
        m_blocks.append(MDBlock::code(m_at > first ? span(first, m_at - 1).toString() : QString()));
        if (m_at < m_lines.size())
            ++m_at;
    }

    void readTable(QStringView headerLine)
    {
        flush();
        QStringList header = splitRow(headerLine);
        m_at += 2;
        qsizetype end = m_at;
        while (end < m_lines.size()) {
            const QStringView t = trimBlanks(lineAt(end));
            if (t.isEmpty() || !MarkdownChars::contains(t, u'|'))
                break;
            ++end;
        }
        QList<QStringList> rows;
        rows.reserve(end - m_at);
        for (; m_at < end; ++m_at)
            rows.append(splitRow(trimBlanks(lineAt(m_at))));
        m_blocks.append(MDBlock::table(std::move(header), std::move(rows)));
    }

    static std::optional<Item> itemOf(QStringView line, bool ordered)
    {
        return ordered ? orderedItem(line) : bulletItem(line);
    }

    // Items of the same kind and indent continue the list, across blank lines too; lazy lines
    // join the last item; anything else ends it. Each item's text is made once, from its lines.
    void readList(bool ordered, const Item& first)
    {
        flush();
        QVarLengthArray<QStringView, 32> lines{first.text};
        QVarLengthArray<qsizetype, 16> itemStarts{0}; // where each item's lines begin in `lines`
        ++m_at;
        while (m_at < m_lines.size()) {
            const QStringView line = lineAt(m_at);
            if (auto item = itemOf(line, ordered); item && item->indent == first.indent) {
                itemStarts.append(lines.size());
                lines.append(item->text);
                ++m_at;
            } else if (isLazyContinuation(line)) {
                lines.append(trimBlanks(line));
                ++m_at;
            } else if (!trimBlanks(line).isEmpty()) {
                break;
            } else {
                qsizetype next = m_at;
                while (next < m_lines.size() && trimBlanks(lineAt(next)).isEmpty())
                    ++next;
                if (next < m_lines.size()) {
                    const auto item = itemOf(lineAt(next), ordered);
                    if (!item || item->indent != first.indent)
                        break;
                }
                m_at = next;
            }
        }
        QStringList items;
        items.reserve(itemStarts.size());
        for (qsizetype k = 0; k < itemStarts.size(); ++k) {
            const qsizetype end = k + 1 < itemStarts.size() ? itemStarts[k + 1] : lines.size();
            items.append(joinLines(lines.data() + itemStarts[k], end - itemStarts[k]));
        }
        m_blocks.append(ordered ? MDBlock::ordered(first.indent, first.number, std::move(items))
                                : MDBlock::bullet(first.indent, std::move(items)));
    }

    void readQuote()
    {
        flush();
        QVarLengthArray<QStringView, 16> lines;
        for (; m_at < m_lines.size(); ++m_at) {
            const QStringView t = trimBlanks(lineAt(m_at));
            if (!t.startsWith(u'>'))
                break;
            lines.append(trimBlanks(t.sliced(1)));
        }
        m_blocks.append(MDBlock::quote(joinLines(lines.data(), lines.size())));
    }

    QStringView m_text;
    const LineSpans& m_lines;
    qsizetype m_at = 0;
    qsizetype m_paragraphFrom = -1;
    qsizetype m_paragraphTo = -1;
    QList<MDBlock> m_blocks;
};

} // namespace

QList<MDBlock> readBlocks(const QString& text)
{
    LineSpans lines;
    qsizetype from = 0;
    for (qsizetype nl = MarkdownChars::indexOf(text, u'\n'); nl >= 0; nl = MarkdownChars::indexOf(text, u'\n', from)) {
        lines.append({from, nl});
        from = nl + 1;
    }
    lines.append({from, text.size()});
    return readBlocks(text, lines);
}

QList<MDBlock> readBlocks(QStringView text, const LineSpans& lines) { return BlockReader(text, lines).read(); }

} // namespace halvex::MarkdownParser::detail
