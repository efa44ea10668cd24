#include "memory/model/MemoryParse.h"

#include "core/format/SafeHTTPURL.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace halvex::MemoryParse {

namespace {

// The patterns of this file, compiled once.
const QRegularExpression dateLine(QStringLiteral(R"(^\d{4}-\d{2}-\d{2}[T ])"));
const QRegularExpression headingLine(QStringLiteral(R"(^#{1,4}\s+)"));
const QRegularExpression confidenceMark(QStringLiteral(R"(\((?:fact|observed|inferred|speculation|template)\))"),
                                        QRegularExpression::CaseInsensitiveOption);
const QRegularExpression manyBreaks(QStringLiteral(R"(\n{3,})"));
const QRegularExpression headingCategory(QStringLiteral(R"(^#{1,4}\s+(.{2,48}?)\s*:?\s*$)"));
const QRegularExpression labelCategory(QStringLiteral(R"(^([a-zA-Z][a-zA-Z0-9_ -]{1,40})\s*:\s*\S)"));
const QRegularExpression webScheme(QStringLiteral("^https?"));
const QRegularExpression markdownLink(QStringLiteral(R"(!?\[([^\]]*)\]\([^)]*\))"));
const QRegularExpression lineMarks(QStringLiteral(R"((?m)^\s{0,3}(?:#{1,6}\s+|>\s?|[-*+]\s+|\d+[.)]\s+))"));
const QRegularExpression inlineMarks(QStringLiteral(R"(\*\*|__|[*`~])"));
const QRegularExpression blanks(QStringLiteral(R"([ \t]+)"));
const QRegularExpression notSlug(QStringLiteral("[^a-z0-9]+"));
const QRegularExpression schemePrefix(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
const QRegularExpression notAlnum(QStringLiteral("[^A-Za-z0-9]"));

QString trimmedLabel(const QString& captured) { return titleCase(captured.trimmed()).left(40); }

} // namespace

QStringList parseBlob(const std::optional<QString>& text)
{
    QStringList out;
    if (!text)
        return out;
    for (const QString& piece : text->split(entrySeparator))
        if (const QString entry = piece.trimmed(); !entry.isEmpty())
            out << entry;
    return out;
}

QString joinBlob(const QStringList& entries) { return entries.join(entrySeparator); }

QString bodyOf(const QString& entry)
{
    QStringList lines = entry.split(QLatin1Char('\n'));
    const auto dropLeading = [&lines](const QRegularExpression& re) {
        while (!lines.isEmpty()) {
            const QString line = lines.first().trimmed();
            if (!line.isEmpty() && !re.match(line).hasMatch())
                break;
            lines.removeFirst();
        }
    };
    dropLeading(dateLine);
    dropLeading(headingLine);
    QString body = lines.join(QLatin1Char('\n'));
    body.remove(confidenceMark);
    body.replace(manyBreaks, QStringLiteral("\n\n"));
    body = body.trimmed();
    return body.isEmpty() ? entry.trimmed() : body;
}

QString iconFor(const QString& text)
{
    static const QList<QPair<QRegularExpression, QString>> table{
        {QRegularExpression(QStringLiteral("price|discount|budget|cost|payment|invoice|revenue|arr")),
         QStringLiteral(u"\U0001F4B6")},
        {QRegularExpression(QStringLiteral(R"(goal|target|focus|q[1-4]\b|objective|priority)")),
         QStringLiteral(u"\U0001F3AF")},
        {QRegularExpression(QStringLiteral("prefer|tone|style|voice|never|always|rule")),
         QStringLiteral(u"\U0001F5E3\uFE0F")},
        {QRegularExpression(QStringLiteral("name|person|people|contact|client|customer|lead|@")),
         QStringLiteral(u"\U0001F464")},
        {QRegularExpression(QStringLiteral("works|experiment|a/b|reply|result|convert")),
         QStringLiteral(u"\U0001F4C8")},
        {QRegularExpression(QStringLiteral("company|business|industry|market|icp|sector")),
         QStringLiteral(u"\U0001F3E2")},
        {QRegularExpression(QStringLiteral("time|hour|schedule|weekend|morning|zone")), QStringLiteral(u"\U0001F552")},
    };
    const QString lower = text.toLower();
    for (const auto& [re, icon] : table)
        if (re.match(lower).hasMatch())
            return icon;
    return QStringLiteral(u"\U0001F9E0");
}

QString categoryOf(const QString& entry)
{
    QStringList lines;
    for (const QString& line : entry.split(QLatin1Char('\n')))
        lines << line.trimmed();
    for (const QString& line : lines)
        if (const auto m = headingCategory.match(line); m.hasMatch())
            return trimmedLabel(m.captured(1));
    for (const QString& line : lines) {
        const auto m = labelCategory.match(line);
        if (m.hasMatch() && !webScheme.match(m.captured(1)).hasMatch())
            return trimmedLabel(m.captured(1));
    }
    return QStringLiteral("Fact");
}

std::optional<QString> normalisedLink(const QString& typed)
{
    QString link = typed.trimmed();
    if (link.isEmpty())
        return std::nullopt;
    const bool hasScheme = schemePrefix.match(link).hasMatch();
    if (!hasScheme)
        link.prepend(QStringLiteral("https://"));
    const std::optional<QUrl> url = SafeHTTPURL::parse(link);
    if (!url || (!hasScheme && !url->host().contains(QLatin1Char('.'))))
        return std::nullopt;
    return link;
}

QString titleCase(const QString& text)
{
    QString out = text;
    bool wordStart = true;
    for (QChar& c : out) {
        if (c.isSpace() || c == QLatin1Char('-') || c == QLatin1Char('_')) {
            wordStart = true;
            continue;
        }
        if (wordStart)
            c = c.toUpper();
        wordStart = false;
    }
    return out;
}

QString plainText(const QString& markdown)
{
    QString text = markdown;
    text.replace(markdownLink, QStringLiteral("\\1"));
    text.remove(lineMarks);
    text.remove(inlineMarks);
    text.replace(blanks, QStringLiteral(" "));
    return text.trimmed();
}

QString resultTitle(const QString& text)
{
    for (const QString& line : plainText(text).split(QLatin1Char('\n'))) {
        const QString title = line.trimmed();
        if (title.isEmpty())
            continue;
        return title.size() > 60 ? title.left(59).trimmed() + QStringLiteral("…") : title;
    }
    return QStringLiteral("Result");
}

QString safeFileName(const QString& name, const QString& ext)
{
    QString slug = plainText(name).toLower();
    slug.replace(notSlug, QStringLiteral("-"));
    slug = slug.left(60);
    while (slug.startsWith(QLatin1Char('-')))
        slug.remove(0, 1);
    while (slug.endsWith(QLatin1Char('-')))
        slug.chop(1);
    if (slug.isEmpty())
        slug = QStringLiteral("result");
    const QString cleanExt = QString(ext).remove(notAlnum).toLower();
    return cleanExt.isEmpty() ? slug : slug + QLatin1Char('.') + cleanExt;
}

QString shortDate(const std::optional<QString>& text)
{
    if (!text || text->trimmed().isEmpty())
        return {};
    const QString raw = text->trimmed();
    QDate date = QDateTime::fromString(raw, Qt::ISODateWithMs).toLocalTime().date();
    if (!date.isValid())
        date = QDate::fromString(raw.left(10), Qt::ISODate);
    return date.isValid() ? QLocale(QLocale::English).toString(date, QStringLiteral("d MMM yyyy")) : QString();
}

} // namespace halvex::MemoryParse
