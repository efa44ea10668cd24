#include "ChatRowsForBench.h"

#include "ui/chat/ChatMessageRows.h"

#include "chat/viewmodel/grouping/ChatRowBuilder.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

#include <benchmark/benchmark.h>

namespace halvex::bench {

namespace {

// One open chat, as the screen keeps it (no view attached: its delegates are not measured).
ChatMessageRows& openChatRows()
{
    static auto* rows = new ChatMessageRows; // left to the end of the process, like the screen's
    return *rows;
}

} // namespace

qsizetype recomputeRows(const QList<ChatMessage>& messages, qsizetype unchangedBefore)
{
    openChatRows().setMessages(messages, unchangedBefore);
    return openChatRows().rowCount();
}

void resetRows() { openChatRows().reset(ChatSurface::solo); }

qsizetype recomputeAllRows(const QList<ChatMessage>& messages)
{
    const QList<ChatRowItem> rows = ChatStepGrouping::rows(messages, ChatSurface::solo);
    benchmark::DoNotOptimize(rows);
    return rows.size();
}

void presentCached(const ChatMessage& message)
{
    benchmark::DoNotOptimize(MessagePresentationResolver::cachedResolveShared(message, ChatSurface::solo));
}

} // namespace halvex::bench
