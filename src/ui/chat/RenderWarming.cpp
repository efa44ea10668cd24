#include "ui/chat/RenderWarming.h"

#include "chat/model/ChatChoiceParse.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

#include <QThreadPool>

namespace halvex {

MarkdownText markdownTextFor(const ChatMessage& message, ChatSurface surface)
{
    MarkdownText text;
    text.text = ChatChoiceParse::parse(message.content, message.metadata).text;
    const auto presentation = MessagePresentationResolver::cachedResolveShared(message, surface);
    text.style = presentation->variant == MessageVariant::report ? MarkdownPresentationStyle::report
                                                                 : MarkdownPresentationStyle::plain;
    text.readableProse = message.isAssistant();
    if (message.id > 0)
        text.cacheKey = QString::number(message.id) + QLatin1Char(':') + QString::number(qHash(text.text), 36);
    return text;
}

void warmRenderCachesInBackground(QList<ChatMessage> messages, ChatSurface surface, InlineStyle style)
{
    if (messages.isEmpty())
        return;
    QThreadPool::globalInstance()->start([messages = std::move(messages), surface, style = std::move(style)] {
        for (const ChatMessage& message : messages)
            if (!message.isUser())
                MarkdownRenderCache::shared().richBlocks(markdownTextFor(message, surface), style);
    });
}

} // namespace halvex
