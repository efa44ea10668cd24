#include "chat/viewmodel/presentation/ChatMessageTextLength.h"

namespace halvex::ChatMessageTextLength {

qsizetype utf8Length(QStringView text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            bytes += 1;
        } else if (c < 0x800) {
            bytes += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

qsizetype of(const ChatMessage& message)
{
    const auto parts = message.metadata.msgParts();
    if (!parts || parts->isEmpty())
        return utf8Length(message.content);
    qsizetype bytes = 2 * (parts->size() - 1); // the blank lines between parts
    for (const QString& part : *parts)
        bytes += utf8Length(part);
    return bytes;
}

} // namespace halvex::ChatMessageTextLength
