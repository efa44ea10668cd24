// Clean-ups the renderer applies to inline text before the platform's Markdown interpreter.
#include "richtext/MarkdownParser.h"
#include "richtext/SharedPattern.h"

namespace halvex::MarkdownParser {

namespace {

qsizetype doubleStarCount(QStringView line)
{
    qsizetype count = 0;
    for (qsizetype at = line.indexOf(QLatin1String("**")); at >= 0; at = line.indexOf(QLatin1String("**"), at + 2))
        ++count;
    return count;
}

} // namespace

// An unpaired "**" would show as literal asterisks, or embolden the rest of the line.
QString cleanOrphanEmphasis(const QString& text)
{
    if (!text.contains(QLatin1String("**")))
        return text;
    static const QRegularExpression opening
        = sharedPattern(QStringLiteral("(^|[\\s\\(\\[\\{«“\"'—–-])\\*{1,3}(?=\\S)"), unicodeClasses);
    static const QRegularExpression closing
        = sharedPattern(QStringLiteral("(\\S)\\*{1,3}(?=$|[\\s\\)\\]\\},.!?:;»”\"'—–-])"), unicodeClasses);
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (doubleStarCount(line) % 2 == 0)
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
        = sharedPattern(QStringLiteral("^[A-Za-zА-Яа-яЁё][A-Za-zА-Яа-яЁё0-9 /&+_-]{1,47}:(?=\\s+\\S)"), unicodeClasses);
    const auto m = label.match(text);
    if (!m.hasMatch())
        return text;
    return QLatin1String("**") + m.captured(0) + QLatin1String("**") + text.sliced(m.capturedEnd());
}

} // namespace halvex::MarkdownParser
