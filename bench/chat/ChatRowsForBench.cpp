#include "ChatRowsForBench.h"

#include "chat/viewmodel/grouping/ChatRowBuilder.h"
#include "chat/viewmodel/grouping/IncrementalChatRows.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

#include <benchmark/benchmark.h>

namespace halvex::bench {

qsizetype recomputeRows(const QList<ChatMessage>& messages)
{
    // One open chat, as the screen keeps it: only the turns a change touched regroup.
    static ChatStepGrouping::IncrementalChatRows grouping;
    const QList<ChatRowItem>& rows = grouping.update(messages);
    benchmark::DoNotOptimize(rows);
    return rows.size();
}

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
