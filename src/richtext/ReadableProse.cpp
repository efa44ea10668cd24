// One long single-line answer reads better as paragraphs of two sentences.
#include "core/format/Characters.h"
#include "richtext/MarkdownLines.h"
#include "richtext/MarkdownParser.h"
#include "richtext/SharedPattern.h"

namespace halvex::MarkdownParser {

namespace {

bool endsWithAbbreviation(QStringView piece)
{
    // The longest abbreviation has four characters; two more keep its word boundary visible.
    static const QRegularExpression abbreviation
        = sharedPattern(QStringLiteral("(?:\\be\\.g\\.|\\bi\\.e\\.|\\bт\\.д\\.|\\bт\\.п\\.|\\bдр\\.|\\bг\\.)$"),
                        ignoringCase | unicodeClasses);
    return abbreviation.match(piece.right(6).toString()).hasMatch();
}

QStringList sentencesOf(const QString& text)
{
    // The look-behind starts a match only at the first mark of a run: the same matches as
    // without it, but a long run of points is not rescanned from each of its characters.
    static const QRegularExpression sentenceEnd
        = sharedPattern(QStringLiteral("(?<![.!?…])[.!?…]+(?:[\"'»”)\\]]+)?(?=\\s+[A-ZА-ЯЁ0-9])"), unicodeClasses);
    QStringList sentences;
    qsizetype cut = 0;
    bool anyEnd = false;
    for (auto it = sentenceEnd.globalMatch(text); it.hasNext();) {
        const qsizetype end = it.next().capturedEnd();
        anyEnd = true;
        const QStringView piece = QStringView(text).sliced(cut, end - cut);
        if (endsWithAbbreviation(piece))
            continue;
        if (const QStringView s = MarkdownLines::trimBlanks(piece); !s.isEmpty())
            sentences.append(s.toString());
        cut = end;
    }
    if (!anyEnd)
        return {};
    if (const QStringView tail = MarkdownLines::trimBlanks(QStringView(text).sliced(cut)); !tail.isEmpty())
        sentences.append(tail.toString());
    return sentences;
}

} // namespace

QList<MDBlock> splitReadableProse(const QList<MDBlock>& blocks)
{
    if (blocks.size() != 1 || blocks[0].kind != MDBlock::Kind::paragraph)
        return blocks;
    const QString& text = blocks[0].text;
    if (text.size() < 320 || text.contains(u'\n') || characterCount(text) < 320)
        return blocks;
    const QStringList sentences = sentencesOf(text);
    if (sentences.size() < 3)
        return blocks;
    QList<MDBlock> out;
    for (qsizetype i = 0; i < sentences.size(); i += 2)
        out.append(
            MDBlock::paragraph(i + 1 < sentences.size() ? sentences[i] + u' ' + sentences[i + 1] : sentences[i]));
    return out;
}

} // namespace halvex::MarkdownParser
