#include "richtext/BlockReader.h"

#include "richtext/MarkdownChars.h"
#include "richtext/MarkdownLines.h"

namespace halvex::MarkdownParser::detail {

namespace {

using namespace MarkdownLines;

class BlockReader {
public:
    BlockReader(QStringView text, const LineSpans& lines) : m_text(text), m_lines(lines) {}

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
        QList<QStringList> rows;
        while (m_at < m_lines.size()) {
            const QStringView t = trimBlanks(lineAt(m_at));
            if (t.isEmpty() || !MarkdownChars::contains(t, u'|'))
                break;
            rows.append(splitRow(t));
            ++m_at;
        }
        m_blocks.append(MDBlock::table(std::move(header), std::move(rows)));
    }

    static std::optional<Item> itemOf(QStringView line, bool ordered)
    {
        return ordered ? orderedItem(line) : bulletItem(line);
    }

    // Items of the same kind and indent continue the list, across blank lines too; lazy lines
    // join the last item; anything else ends it.
    void readList(bool ordered, const Item& first)
    {
        flush();
        QStringList items{first.text.toString()};
        ++m_at;
        while (m_at < m_lines.size()) {
            const QStringView line = lineAt(m_at);
            if (auto item = itemOf(line, ordered); item && item->indent == first.indent) {
                items.append(item->text.toString());
                ++m_at;
            } else if (isLazyContinuation(line)) {
                items.last() += u'\n';
                items.last() += trimBlanks(line);
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
        m_blocks.append(ordered ? MDBlock::ordered(first.indent, first.number, std::move(items))
                                : MDBlock::bullet(first.indent, std::move(items)));
    }

    void readQuote()
    {
        flush();
        QString text;
        for (bool firstLine = true; m_at < m_lines.size(); ++m_at, firstLine = false) {
            const QStringView t = trimBlanks(lineAt(m_at));
            if (!t.startsWith(u'>'))
                break;
            if (!firstLine)
                text += u'\n';
            text += trimBlanks(t.sliced(1));
        }
        m_blocks.append(MDBlock::quote(std::move(text)));
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
