#pragma once
// Turns bold-lead lists with source lines into report groups; the render cache's default parser.
#include "richtext/MDReport.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace halvex::ReportDocumentParser {

QList<MDPresentationBlock> blocks(const QString& text, MarkdownPresentationStyle style, bool readableProse);

std::pair<QString, QString> splitLead(const QString& text);
std::pair<QStringList, qsizetype> collectTrailingParagraphs(const QList<MDBlock>& blocks, qsizetype after);
QList<MDReportSource> parseSource(const QString& line);
QList<MDReportSource> uniqueSources(const QList<MDReportSource>& sources);
MDReportItem makeItem(const QString& lead, const QStringList& trailing);

// The heading over an item's source list.
QString sourcesTitle(qsizetype count);

} // namespace halvex::ReportDocumentParser
