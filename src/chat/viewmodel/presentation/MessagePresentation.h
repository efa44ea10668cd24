#pragma once
// The card a chat message becomes. Screens, step grouping and the approval and artifact cards
// only read it; it is resolved from the message alone and never calls the service.
#include "chat/model/ChatArtifactReference.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace halvex {

enum class ChatSurface { solo, team };

enum class MessageVariant { plain, report, progress, event, alert, approval, artifact, media, service, usage };

enum class MessageTone { neutral, info, success, action, error };

enum class PresentationAction { open, approve, reject };

// One labelled row on a card.
struct PresentationMetadata {
    QString label;
    QString value;
    bool operator==(const PresentationMetadata&) const = default;
};

struct MessagePresentation {
    MessageVariant variant = MessageVariant::plain;
    MessageTone tone = MessageTone::neutral;
    QString title;
    QString body;
    QString status;
    QString icon;
    QList<PresentationMetadata> metadata;
    std::optional<QUrl> destination;
    QList<PresentationAction> actions;
    QString nextAction; // hint shown under an error
    std::optional<ChatArtifactReference> artifact;
    ChatSurface surface = ChatSurface::solo;

    bool operator==(const MessagePresentation&) const = default;
};

// Raw values equal the case names; the interface keys its delegates on them.
QString rawValue(MessageVariant variant);
QString rawValue(MessageTone tone);
QString rawValue(PresentationAction action);

} // namespace halvex
