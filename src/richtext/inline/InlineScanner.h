#pragma once
// Pieces of the inline scan that read one construct at a position: each returns the index just
// after what it read, or -1 when the text there is not that construct. Every reader stops at the
// first character its construct cannot hold, so no reader rescans text another one has passed.
#include <QString>
#include <QStringView>

namespace halvex::InlineMarkup {

struct LinkTail {
    qsizetype end = -1;
    QString destination;
};

// "(destination "title")" after a link label; at most 32 nested parentheses in the destination.
LinkTail readLinkTail(QStringView s, qsizetype open);

// "<scheme:…>" or "<name@host>" at s[at] == '<'; target receives the address.
qsizetype readAutolink(QStringView s, qsizetype at, QString* target);

// A bare http(s) address at s[at], without the punctuation that ends the sentence around it.
qsizetype readBareAddress(QStringView s, qsizetype at);

// "@handle" at s[at] == '@' when nothing word-like precedes it.
qsizetype readMention(QStringView s, qsizetype at);

// The line starting at s[at] opens with "Sources:" or its Russian form.
bool isSourceLine(QStringView s, qsizetype at);

bool isAsciiPunctuation(QChar c);

} // namespace halvex::InlineMarkup
