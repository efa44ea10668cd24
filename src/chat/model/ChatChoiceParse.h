#pragma once
// The reply choices a message offers: the metadata's "choice_options", else an "OPTIONS:" line,
// which is then taken out of the shown text.
#include "chat/model/MessageMetadata.h"

#include <QString>
#include <QStringList>

namespace halvex {

struct ChatChoiceParse {
    QString text;
    QStringList options;

    static ChatChoiceParse parse(const QString& text, const MessageMetadata& metadata);
    bool operator==(const ChatChoiceParse&) const = default;
};

} // namespace halvex
