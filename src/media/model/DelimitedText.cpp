#include "media/model/DelimitedText.h"

namespace halvex::DelimitedText {

namespace {

// Walks the text one record at a time without copying lines.
class Reader {
public:
    Reader(QStringView text, QChar separator) : m_text(text), m_separator(separator) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    QStringList next()
    {
        QStringList fields;
        QString field;
        bool quoted = false;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (quoted) {
                if (c != u'"')
                    field += c;
                else if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
                    field += c;
                    ++m_pos;
                } else
                    quoted = false;
            } else if (c == u'"' && field.isEmpty())
                quoted = true;
            else if (c == m_separator) {
                fields << field;
                field.clear();
            } else if (c == u'\n' || c == u'\r') {
                if (c == u'\r' && m_pos < m_text.size() && m_text[m_pos] == u'\n')
                    ++m_pos;
                break;
            } else
                field += c;
        }
        fields << field;
        return fields;
    }

private:
    QStringView m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
};

bool blank(const QStringList& fields) { return fields.size() == 1 && fields.first().trimmed().isEmpty(); }

} // namespace

DelimitedTable parse(QStringView text, QChar separator, qsizetype maxRows)
{
    DelimitedTable table;
    Reader reader(text, separator);
    while (!reader.atEnd() && table.columns.isEmpty()) {
        QStringList header = reader.next();
        if (!blank(header))
            table.columns = std::move(header);
    }
    while (!reader.atEnd()) {
        QStringList row = reader.next();
        if (blank(row))
            continue;
        ++table.totalRows;
        if (table.rows.size() >= maxRows)
            continue;
        while (row.size() < table.columns.size())
            row << QString();
        table.rows << std::move(row);
    }
    return table;
}

} // namespace halvex::DelimitedText
