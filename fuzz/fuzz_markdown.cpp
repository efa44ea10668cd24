// Arbitrary bytes through every repair, the block walk, readable prose and the inline clean-ups.
// The hand-written line scanners must agree with the repair patterns they stand in for, so each
// input is also repaired the slow way, pattern by pattern, and the results compared.
#include "richtext/MarkdownParser.h"
#include "richtext/MarkdownRepairs.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

namespace MP = halvex::MarkdownParser;

constexpr auto unicode = QRegularExpression::UseUnicodePropertiesOption;

bool isFence(const QString& line)
{
    static const QRegularExpression fence(QStringLiteral("^\\s*```"), unicode);
    return fence.match(line).hasMatch();
}

template <typename Fn>
QString eachLineOutsideCode(const QString& text, Fn fn)
{
    QStringList lines = text.split(u'\n');
    bool inCode = false;
    for (QString& line : lines) {
        if (isFence(line))
            inCode = !inCode;
        else if (!inCode)
            fn(line);
    }
    return lines.join(u'\n');
}

QString slowListMarkers(QString text)
{
    static const QRegularExpression bold(
        QStringLiteral("^([ \\t]{0,8})(?:\\*\\*|__)[ \\t]*(\\d{1,3}[.)])[ \\t]*(?:\\*\\*|__)[ \\t]+"), unicode);
    static const QRegularExpression emoji(
        QStringLiteral("^([ \\t]{0,8})((?:[\\p{So}\\x{FE0F}\\x{200D}]+[ \\t]*)+)(\\d{1,3}[.)])[ \\t]+"), unicode);
    static const QRegularExpression padded(QStringLiteral("^([ \\t]{0,8}\\d{1,3}[.)])[ \\t]{2,}"), unicode);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return eachLineOutsideCode(text, [](QString& line) {
        line.replace(bold, QStringLiteral("\\1\\2 "));
        line.replace(emoji, QStringLiteral("\\1\\3 \\2"));
        line.replace(padded, QStringLiteral("\\1 "));
    });
}

QString slowEmphasisPadding(QString text)
{
    if (!text.contains(QLatin1String("**")))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return eachLineOutsideCode(text, [](QString& line) {
        QStringList pieces = line.split(QStringLiteral("**"));
        if (pieces.size() < 3 || pieces.size() % 2 == 0)
            return;
        for (qsizetype i = 1; i < pieces.size(); i += 2) {
            qsizetype b = 0, e = pieces[i].size();
            while (b < e && (pieces[i][b] == u' ' || pieces[i][b] == u'\t'))
                ++b;
            while (e > b && (pieces[i][e - 1] == u' ' || pieces[i][e - 1] == u'\t'))
                --e;
            if (b == e)
                return;
            pieces[i] = pieces[i].sliced(b, e - b);
        }
        line = pieces.join(QStringLiteral("**"));
    });
}

QString slowGluedLists(QString text)
{
    static const QRegularExpression step(QStringLiteral("(?:^|[ \\t])\\d{1,3}[.)]\\s+(?=\\S)"), unicode);
    static const QRegularExpression glued(QStringLiteral("[ \\t]+(\\d{1,3})[.)]\\s+(?=\\S)"), unicode);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return eachLineOutsideCode(text, [](QString& line) {
        if (line.contains(u'|'))
            return;
        int count = 0;
        for (auto it = step.globalMatch(line); it.hasNext(); it.next())
            ++count;
        if (count >= 2)
            line.replace(glued, QStringLiteral("\n\n\\1. "));
    });
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto blocks = MP::parse(text);
    MP::splitReadableProse(blocks);
    MP::splitReadableProse({halvex::MDBlock::paragraph(QString(text).replace(u'\n', u' '))});
    MP::cleanOrphanEmphasis(text);
    MP::boldLeadingLabel(text);

    const QString listed = MP::normalizeListMarkers(text);
    require(listed == slowListMarkers(text));
    const QString padded = MP::normalizeEmphasisPadding(listed);
    require(padded == slowEmphasisPadding(listed));
    const QString glued = MP::normalizeGluedLists(padded);
    require(glued == slowGluedLists(padded));
    // The fused pass parse() uses must agree with the repairs run one after another.
    require(MP::detail::repairLines(text) == glued);
    return 0;
}
