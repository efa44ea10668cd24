#include "richtext/MarkdownParser.h"
#include "richtext/MarkdownRepairs.h"

#include "richtext/MarkdownLines.h"

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

class BlockReader {
public:
    explicit BlockReader(const QString& text)
        : m_text(text)
    {
        for (QStringView l : QStringView(m_text).split(u'\n'))
            m_lines.append(l);
    }

    QList<MDBlock> read()
    {
        while (m_at < m_lines.size())
            step();
        flush();
        return std::move(m_blocks);
    }

private:
    void flush()
    {
        if (m_paragraph.isEmpty())
            return;
        QString joined;
        for (qsizetype i = 0; i < m_paragraph.size(); ++i) {
            if (i > 0)
                joined += u'\n';
            joined += m_paragraph[i];
        }
        m_blocks.append(MDBlock::paragraph(std::move(joined)));
        m_paragraph.clear();
    }

    void step()
    {
        const QStringView line = m_lines[m_at];
        const QStringView t = trimBlanks(line);
        if (t.startsWith(u"```"))
            return readCode();
        if (t.isEmpty()) {
            flush();
            ++m_at;
            return;
        }
        if (isRuleText(t)) {
            flush();
            m_blocks.append(MDBlock::rule());
            ++m_at;
            return;
        }
        if (auto h = heading(t)) {
            flush();
            m_blocks.append(MDBlock::heading(h->level, std::move(h->text)));
            ++m_at;
            return;
        }
        if (t.contains(u'|') && m_at + 1 < m_lines.size() && isTableSeparator(m_lines[m_at + 1]))
            return readTable(t);
        if (bulletItem(line))
            return readList(false);
        if (orderedItem(line))
            return readList(true);
        if (isBareListNumber(t)) {
            bool ok = false;
            qsizetype digits = 0;
            while (digits < t.size() && t[digits].isDigit())
                ++digits;
            const int number = t.first(digits).toInt(&ok);
            if (ok) {
                flush();
                m_blocks.append(MDBlock::olnum(number));
                ++m_at;
                return;
            }
        }
        if (t.startsWith(u'>'))
            return readQuote();
        m_paragraph.append(line);
        ++m_at;
    }

    void readCode()
    {
        flush();
        ++m_at;
        QString code;
        bool first = true;
        while (m_at < m_lines.size() && !trimBlanks(m_lines[m_at]).startsWith(u"```")) {
            if (!first)
                code += u'\n';
            code += m_lines[m_at];
            first = false;
            ++m_at;
        }
        if (m_at < m_lines.size())
            ++m_at;
        m_blocks.append(MDBlock::code(std::move(code)));
    }

    void readTable(QStringView headerLine)
    {
        flush();
        const QStringList header = splitRow(headerLine);
        m_at += 2;
        QList<QStringList> rows;
        while (m_at < m_lines.size()) {
            const QStringView t = trimBlanks(m_lines[m_at]);
            if (t.isEmpty() || !t.contains(u'|'))
                break;
            rows.append(splitRow(t));
            ++m_at;
        }
        m_blocks.append(MDBlock::table(header, std::move(rows)));
    }

    std::optional<Item> itemOf(QStringView line, bool ordered) const
    {
        return ordered ? orderedItem(line) : bulletItem(line);
    }

    void readList(bool ordered)
    {
        flush();
        const Item first = *itemOf(m_lines[m_at], ordered);
        QStringList items{first.text};
        ++m_at;
        while (m_at < m_lines.size()) {
            const QStringView line = m_lines[m_at];
            if (auto item = itemOf(line, ordered); item && item->indent == first.indent) {
                items.append(std::move(item->text));
                ++m_at;
            } else if (isLazyContinuation(line)) {
                items.last() += u'\n';
                items.last() += trimBlanks(line);
                ++m_at;
            } else if (!trimBlanks(line).isEmpty()) {
                break;
            } else {
                qsizetype next = m_at;
                while (next < m_lines.size() && trimBlanks(m_lines[next]).isEmpty())
                    ++next;
                if (next >= m_lines.size()) {
                    m_at = next;
                    break;
                }
                const auto item = itemOf(m_lines[next], ordered);
                if (!item || item->indent != first.indent)
                    break;
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
        bool first = true;
        while (m_at < m_lines.size()) {
            const QStringView t = trimBlanks(m_lines[m_at]);
            if (!t.startsWith(u'>'))
                break;
            if (!first)
                text += u'\n';
            text += trimBlanks(t.sliced(1));
            first = false;
            ++m_at;
        }
        m_blocks.append(MDBlock::quote(std::move(text)));
    }

    const QString m_text;
    QList<QStringView> m_lines;
    qsizetype m_at = 0;
    QList<QStringView> m_paragraph;
    QList<MDBlock> m_blocks;
};

} // namespace

QList<MDBlock> parse(const QString& text)
{
    QString repaired = detail::repairLines(stripGoalMarkers(text));
    if (repaired.contains(u'\r'))
        repaired.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return BlockReader(repaired).read();
}

QList<MDBlock> splitReadableProse(const QList<MDBlock>& blocks)
{
    if (blocks.size() != 1 || blocks[0].kind != MDBlock::Kind::paragraph)
        return blocks;
    const QString& text = blocks[0].text;
    if (text.contains(u'\n') || text.size() < 320)
        return blocks;
    static const QRegularExpression sentenceEnd = compiled(
        QStringLiteral("(?<![.!?…])[.!?…]+(?:[\"'»”)\\]]+)?(?=\\s+[A-ZА-ЯЁ0-9])"));
    static const QRegularExpression abbreviation = compiled(
        QStringLiteral("(?:\\be\\.g\\.|\\bi\\.e\\.|\\bт\\.д\\.|\\bт\\.п\\.|\\bдр\\.|\\bг\\.)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    QStringList sentences;
    qsizetype cut = 0;
    bool any = false;
    for (auto it = sentenceEnd.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        any = true;
        const qsizetype end = m.capturedEnd();
        const QStringView piece = QStringView(text).sliced(cut, end - cut);
        // The longest abbreviation has four characters; one more gives its word boundary context.
        if (abbreviation.match(piece.right(6).toString()).hasMatch())
            continue;
        const QStringView s = trimBlanks(piece);
        if (!s.isEmpty())
            sentences.append(s.toString());
        cut = end;
    }
    if (!any)
        return blocks;
    if (const QStringView tail = trimBlanks(QStringView(text).sliced(cut)); !tail.isEmpty())
        sentences.append(tail.toString());
    if (sentences.size() < 3)
        return blocks;
    QList<MDBlock> out;
    for (qsizetype i = 0; i < sentences.size(); i += 2)
        out.append(MDBlock::paragraph(i + 1 < sentences.size() ? sentences[i] + u' ' + sentences[i + 1] : sentences[i]));
    return out;
}

QString cleanOrphanEmphasis(const QString& text)
{
    if (!text.contains(QLatin1String("**")))
        return text;
    static const QRegularExpression opening = compiled(QStringLiteral("(^|[\\s\\(\\[\\{«“\"'—–-])\\*{1,3}(?=\\S)"));
    static const QRegularExpression closing
        = compiled(QStringLiteral("(\\S)\\*{1,3}(?=$|[\\s\\)\\]\\},.!?:;»”\"'—–-])"));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.count(QLatin1String("**")) % 2 == 0)
            continue;
        line.replace(opening, QStringLiteral("\\1"));
        line.replace(closing, QStringLiteral("\\1"));
    }
    return lines.join(u'\n');
}

QString boldLeadingLabel(const QString& text)
{
    if (text.startsWith(QLatin1String("**")) || text.startsWith(QLatin1String("__")))
        return text;
    static const QRegularExpression label
        = compiled(QStringLiteral("^[A-Za-zА-Яа-яЁё][A-Za-zА-Яа-яЁё0-9 /&+_-]{1,47}:(?=\\s+\\S)"));
    const auto m = label.match(text);
    if (!m.hasMatch())
        return text;
    return QLatin1String("**") + m.captured(0) + QLatin1String("**") + text.mid(m.capturedEnd());
}

} // namespace halvex::MarkdownParser
