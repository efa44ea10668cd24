// What an open chat holds in memory as it grows: the view model's list and indexes and the
// screen's grouped rows, after 5,000 and after 50,000 messages, with the messages' own text as
// the yardstick. Heap in use from the allocator, so the figure is the chat's and nothing else's.
//   bench_chat_memory  →  key=value lines
#include "ChatEvents.h"
#include "ChatRowsForBench.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "core/async/ManualClock.h"
#include "core/net/APIClient.h"
#include "core/net/PersistentCookieJar.h"

#include <QCoreApplication>

#include <cstdio>
#include <malloc.h>

using namespace halvex;

namespace {

double heapMb()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ManualClock clock;
    PersistentCookieJar jar{QString()};
    APIClient api{QUrl(QStringLiteral("http://127.0.0.1:9")), &jar, &clock};
    ChatHistoryCache cache;
    const double before = heapMb();
    double textBytes = 0;
    {
        ChatViewModel vm{ChatBackend::agent(bench::benchAgent()), api, clock, std::nullopt, cache};
        qint64 next = 1;
        int shown = -1; // the version the rows show
        for (const int size : {5'000, 50'000}) {
            for (; next <= size; ++next) {
                const ChatMessage m = bench::streamEvent(next, int(next));
                textBytes += double(m.content.size() * 2);
                vm.ingest(m);
                // The screen regroups as the chat grows, not once at the end.
                if (next % 64 == 0) {
                    bench::recomputeRows(vm.messages(), vm.unchangedSince(shown));
                    shown = vm.messagesVersion();
                }
            }
            const qsizetype rows = bench::recomputeRows(vm.messages(), vm.unchangedSince(shown));
            shown = vm.messagesVersion();
            std::printf("messages_%d_mb=%.1f\nrows_%d=%lld\ntext_%d_mb=%.1f\n", size, heapMb() - before, size,
                        static_cast<long long>(rows), size, textBytes / (1024.0 * 1024.0));
        }
    }
    return 0;
}
