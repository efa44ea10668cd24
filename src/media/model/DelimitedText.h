#pragma once
// Comma- and tab-separated text read into rows for the in-app table preview. Quoted fields may
// hold separators, doubled quotes and line breaks; a quote left open runs to the end of the text.
#include <QList>
#include <QStringList>

namespace halvex {

struct DelimitedTable {
    QStringList columns;     // the first row
    QList<QStringList> rows; // at most the requested number, each padded to the column count
    qsizetype totalRows = 0; // every row after the first
};

namespace DelimitedText {

// `separator` is ',' or '\t'; rows past `maxRows` are counted, not kept.
DelimitedTable parse(QStringView text, QChar separator, qsizetype maxRows);

} // namespace DelimitedText

} // namespace halvex
