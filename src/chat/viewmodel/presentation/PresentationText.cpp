#include "chat/viewmodel/presentation/PresentationText.h"

#include <QLocale>

namespace halvex::PresentationText {

namespace {

bool isZeroWidth(char16_t c) { return c == 0x200B || c == 0x200C || c == 0x200D || c == 0x2060 || c == 0xFEFF; }

bool isLineBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x00A0; }

// Nothing for cleanText to do: no invisible characters or carriage returns, no blanks or breaks
// at either end or before a break, no more than one empty line in a row.
bool isClean(const QString& text)
{
    const auto* units = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    if (n == 0)
        return true;
    if (isLineBlank(units[0]) || units[0] == u'\n' || isLineBlank(units[n - 1]) || units[n - 1] == u'\n')
        return false;
    int breaks = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = units[i];
        if (c == u'\n') {
            if (isLineBlank(units[i - 1]) || ++breaks > 2)
                return false;
            continue;
        }
        if (c == u'\r' || isZeroWidth(c))
            return false;
        breaks = 0;
    }
    return true;
}

} // namespace

QString cleanText(const QString& text)
{
    // Most texts are clean already (every streamed step is cleaned): those come back shared.
    if (isClean(text))
        return text;
    QString out;
    out.reserve(text.size());
    int pendingBreaks = 0; // line breaks seen since the last visible text
    QString line;
    auto flushLine = [&] {
        qsizetype end = line.size();
        while (end > 0 && isLineBlank(line.at(end - 1).unicode()))
            --end;
        if (end == 0) {
            line.clear();
            return false;
        }
        if (!out.isEmpty())
            out += pendingBreaks >= 2 ? QStringLiteral("\n\n") : QStringLiteral("\n");
        out += QStringView(line).first(end);
        pendingBreaks = 0;
        line.clear();
        return true;
    };
    // Each line goes into `line` in runs between zero-width characters, not character by
    // character: every new message of a chat is cleaned as it streams in.
    const auto* units = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (;;) {
        qsizetype run = i;
        for (; i < n && units[i] != u'\r' && units[i] != u'\n'; ++i) {
            if (isZeroWidth(units[i])) {
                line.append(reinterpret_cast<const QChar*>(units + run), i - run);
                run = i + 1;
            }
        }
        line.append(reinterpret_cast<const QChar*>(units + run), i - run);
        if (i == n)
            break;
        if (units[i] == u'\r' && i + 1 < n && units[i + 1] == u'\n')
            ++i;
        ++i;
        flushLine();
        ++pendingBreaks;
    }
    flushLine();
    // Leading blanks of the first line are not indentation worth keeping.
    qsizetype start = 0;
    while (start < out.size() && isLineBlank(out.at(start).unicode()))
        ++start;
    return start == 0 ? out : out.mid(start);
}

QString titleCase(const QString& identifier)
{
    QString out;
    out.reserve(identifier.size() + 4);
    bool atWordStart = true;
    QChar previous;
    for (const QChar c : identifier) {
        if (c == u'_' || c == u'-' || c == u'.' || c == u'/' || c.isSpace()) {
            atWordStart = true;
            previous = QChar();
            continue;
        }
        const bool camelBreak = c.isUpper() && previous.isLower();
        if ((atWordStart || camelBreak) && !out.isEmpty())
            out += u' ';
        out += (atWordStart || camelBreak) ? c.toUpper() : c;
        atWordStart = false;
        previous = c;
    }
    return out;
}

QString firstReadableLine(const QString& text)
{
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QString line = text.mid(start, end - start).trimmed();
        if (!line.isEmpty())
            return line;
        start = end + 1;
    }
    return QString();
}

QString formatNumber(qint64 value)
{
    static const QLocale usEnglish(QLocale::English, QLocale::UnitedStates);
    return usEnglish.toString(value);
}

} // namespace halvex::PresentationText
