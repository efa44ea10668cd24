#pragma once
// Rendering ahead of time: the newest messages of a chat are parsed, rendered and presented on
// a worker thread, so the first frame of an opened chat and a scroll to the bottom find every
// cache warm.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"
#include "richtext/MarkdownRenderCache.h"

#include <QList>

namespace halvex {

// What an answer's text renders as: the report style where its presentation is a report, prose
// made readable for assistant answers, and a cache key that changes whenever the text does
// (even to another text of the same length). Unsaved messages (negative ids) are not cached.
MarkdownText markdownTextFor(const ChatMessage& message, ChatSurface surface);

// Warms the presentation and rendered-text caches for `messages` on the global thread pool.
// Both caches are thread-safe; a warm entry that is never read just ages out.
void warmRenderCachesInBackground(QList<ChatMessage> messages, ChatSurface surface, InlineStyle style);

} // namespace halvex
