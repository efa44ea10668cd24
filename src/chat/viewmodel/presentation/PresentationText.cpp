#include "chat/viewmodel/presentation/PresentationText.h"

#include <QLocale>

namespace halvex::PresentationText {

namespace {

bool isZeroWidth(char16_t c) { return c == 0x200B || c == 0x200C || c == 0x200D || c == 0x2060 || c == 0xFEFF; }

bool isLineBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x00A0; }

} // namespace

QString cleanText(const QString& text)
{
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
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            flushLine();
            ++pendingBreaks;
            continue;
        }
        if (isZeroWidth(c))
            continue;
        line += QChar(c);
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
