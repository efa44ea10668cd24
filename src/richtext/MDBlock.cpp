#include "richtext/MDBlock.h"

namespace halvex {

MDBlock MDBlock::heading(int level, QString text)
{
    MDBlock b;
    b.kind = Kind::heading;
    b.level = level;
    b.text = std::move(text);
    return b;
}

MDBlock MDBlock::paragraph(QString text)
{
    MDBlock b;
    b.kind = Kind::paragraph;
    b.text = std::move(text);
    return b;
}

MDBlock MDBlock::code(QString text)
{
    MDBlock b;
    b.kind = Kind::code;
    b.text = std::move(text);
    return b;
}

MDBlock MDBlock::bullet(int indent, QStringList items)
{
    MDBlock b;
    b.kind = Kind::bullet;
    b.indent = indent;
    b.items = std::move(items);
    return b;
}

MDBlock MDBlock::ordered(int indent, int start, QStringList items)
{
    MDBlock b;
    b.kind = Kind::ordered;
    b.indent = indent;
    b.start = start;
    b.items = std::move(items);
    return b;
}

MDBlock MDBlock::olnum(int number)
{
    MDBlock b;
    b.kind = Kind::olnum;
    b.start = number;
    return b;
}

MDBlock MDBlock::quote(QString text)
{
    MDBlock b;
    b.kind = Kind::quote;
    b.text = std::move(text);
    return b;
}

MDBlock MDBlock::table(QStringList header, QList<QStringList> rows)
{
    MDBlock b;
    b.kind = Kind::table;
    b.items = std::move(header);
    b.rows = std::move(rows);
    return b;
}

MDBlock MDBlock::rule()
{
    MDBlock b;
    b.kind = Kind::rule;
    return b;
}

} // namespace halvex
