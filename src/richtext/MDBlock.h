#pragma once
// One parsed Markdown block. Kept as a flat value so blocks compare and copy cheaply.
#include <QList>
#include <QString>
#include <QStringList>

namespace halvex {

struct MDBlock {
    enum class Kind { heading, paragraph, code, bullet, ordered, olnum, quote, table, rule };

    Kind kind = Kind::paragraph;
    int level = 0;           // heading
    QString text;            // heading, paragraph, code, quote
    int indent = 0;          // bullet, ordered
    int start = 0;           // ordered; the number of an olnum
    QStringList items;       // bullet, ordered; table header cells
    QList<QStringList> rows; // table

    static MDBlock heading(int level, QString text);
    static MDBlock paragraph(QString text);
    static MDBlock code(QString text);
    static MDBlock bullet(int indent, QStringList items);
    static MDBlock ordered(int indent, int start, QStringList items);
    static MDBlock olnum(int number);
    static MDBlock quote(QString text);
    static MDBlock table(QStringList header, QList<QStringList> rows);
    static MDBlock rule();

    const QStringList& header() const { return items; }

    bool operator==(const MDBlock&) const = default;
};

enum class MarkdownPresentationStyle { plain, report };

} // namespace halvex

// Every member moves by its bytes, so a growing list of blocks is reallocated, not rebuilt.
Q_DECLARE_TYPEINFO(halvex::MDBlock, Q_RELOCATABLE_TYPE);
