#pragma once
// The inline interpreter's intermediate form: a flat list of nodes in text order. Emphasis and
// links are resolved into the nodes (tags on delimiter runs, open and close markers around link
// labels), so the nodes always nest; the writer only escapes and emits them.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

namespace halvex::InlineMarkup {

enum class EmphasisTag : char { italic = 'i', strong = 'b', strike = 's' };

struct Node {
    enum class Kind : quint8 {
        text,      // literal text
        delimiter, // a run of "*", "_" or "~~": closing tags, leftover characters, opening tags
        code,      // a code span's content
        linkOpen,  // "[" or "![" that became a link; target is the raw destination
        linkClose, // the "](destination)" that closes it
        lineBreak, // a line break inside the run
        mention,   // "@handle"
        address,   // an autolink or a bare address; text is its label, target its address
    };

    Kind kind = Kind::text;
    bool sealed = false;     // a text node that later text must not join (a bracket that may become a link)
    bool image = false;      // linkOpen: written as "![…](…)"
    bool emptyLabel = false; // linkOpen: the label is empty, so the address is shown
    bool folded = false;     // address on a "Sources:" line: shown as its host
    QString text;
    QString target;
    QChar delimiter;
    int remaining = 0;    // delimiter characters left over as literal text
    QByteArray openTags;  // EmphasisTag values, outermost first
    QByteArray closeTags; // EmphasisTag values, innermost first
};

// Interprets one inline run. Never reads block syntax: a "#", "1." or ">" at a line start is text.
QList<Node> interpret(QStringView text);

} // namespace halvex::InlineMarkup
