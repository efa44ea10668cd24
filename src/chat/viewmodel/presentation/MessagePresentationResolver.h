#pragma once
// The pure function from a message and the chat surface to its card. Safe to call from any
// thread; the chat warms the cache from a background task.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"

#include <QString>

#include <memory>

namespace halvex::MessagePresentationResolver {

MessagePresentation resolve(const ChatMessage& message, ChatSurface surface);

// The same result through the process-wide cache. Screens call this one.
MessagePresentation cachedResolve(const ChatMessage& message, ChatSurface surface);

// The cached card itself, without copying it: for callers that read a field or two per message.
std::shared_ptr<const MessagePresentation> cachedResolveShared(const ChatMessage& message, ChatSurface surface);

// id|surface|kind|status|text length: an edited or extended message gets a new key.
QString cacheKey(const ChatMessage& message, ChatSurface surface);

} // namespace halvex::MessagePresentationResolver
