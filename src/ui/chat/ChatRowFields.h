#pragma once
// What a chat row's delegate reads, taken from the row and its resolved card: plain maps the
// QML delegates pick fields from. Inline text arrives rendered in `style`, unsafe links removed.
#include "chat/viewmodel/grouping/ChatRowItem.h"
#include "chat/viewmodel/grouping/ReasoningCard.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"
#include "richtext/inline/InlineStyle.h"

#include <QVariantMap>

namespace halvex::ChatRowFields {

// "user", "answer" (parsed blocks), "card", "steps", "chips" or "goalReview".
QString kind(const ChatRowItem& row, ChatSurface surface);

// variant, tone, title, body, status, icon, metadata, destination (http and https only),
// actions, nextAction, artifactName.
QVariantMap card(const MessagePresentation& presentation, const InlineStyle& style);

// title, meta, status, stepCount, hiddenCount, collapsed and full: lists of {actor, stages}.
QVariantMap reasoning(const ReasoningCardModel& model, const InlineStyle& style);

// key (for the busy and error states), goalId, runId, objective, definitionOfDone, deadline.
QVariantMap goalReview(const GoalReviewItem& review);

// The pictures a message carries, {url, name} each: image attachments with an address.
QVariantList images(const ChatMessage& message);
// The other files it carries, {url, name, mime, size} each ("2.4 MB", "" when unknown); they open
// in the document viewer.
QVariantList files(const ChatMessage& message);
// "312 bytes", "14 KB", "2.4 MB".
QString sizeText(qint64 bytes);

} // namespace halvex::ChatRowFields
