#include "ChatOpenPass.h"

#include "ProbeSupport.h"

#include "ui/app/AppShell.h"
#include "ui/chat/ChatSession.h"
#include "ui/sidebar/SidebarRows.h"

#include "chat/viewmodel/ChatViewModel.h"

#include <QQuickWindow>

#include <cstdio>

namespace halvex::bench {

namespace {
constexpr int kFrameTimeoutMs = 10'000;
constexpr int kHistoryTimeoutMs = 15'000;
// Long enough for the stream to open and the first heal poll to be sent, as after a real click.
constexpr int kSettleMs = 250;
} // namespace

ChatOpenPass::ChatOpenPass(AppShell& shell, QQuickWindow& window, std::function<bool()> messagesShown)
    : m_shell(shell),
      m_window(window),
      m_messagesShown(std::move(messagesShown))
{}

QStringList ChatOpenPass::chatIdentities(int limit) const
{
    QStringList ids;
    SidebarRows* rows = m_shell.sidebar();
    for (int i = 0; rows && i < rows->rowCount() && ids.size() < limit; ++i) {
        const QModelIndex at = rows->index(i);
        const QString kind = rows->data(at, SidebarRows::KindRole).toString();
        const QString id = rows->data(at, SidebarRows::IdentityRole).toString();
        if ((kind == QLatin1String("agent") || kind == QLatin1String("team") || kind == QLatin1String("member"))
            && !ids.contains(id))
            ids << id;
    }
    return ids;
}

bool ChatOpenPass::waitForHistory()
{
    return waitUntil(
        [this] {
            ChatViewModel* chat = m_shell.chatSession() ? m_shell.chatSession()->chat() : nullptr;
            return chat && chat->historyLoaded();
        },
        kHistoryTimeoutMs);
}

double ChatOpenPass::open(const QString& identity, bool& fromCacheOnly)
{
    const qint64 selected = monotonicNs();
    m_shell.sidebar()->select(identity);
    ChatViewModel* opened = m_shell.chatSession() ? m_shell.chatSession()->chat() : nullptr;
    const std::optional<qint64> frame = waitForFrame(
        m_window,
        [&] {
            return m_shell.sidebar()->selectedId() == identity && m_shell.chatSession()->chat() == opened && opened
                && m_messagesShown();
        },
        kFrameTimeoutMs);
    // Shown before the service answered: the rows came out of the cache.
    fromCacheOnly = opened && !opened->historyLoaded();
    return frame ? double(*frame - selected) / 1e6 : -1;
}

bool ChatOpenPass::run(int chats, int rounds)
{
    waitForHistory(); // the chat the start selected by itself
    // Folded teams hide their members' chats.
    SidebarRows* rows = m_shell.sidebar();
    for (int i = 0; i < rows->rowCount(); ++i) {
        const QModelIndex at = rows->index(i);
        if (rows->data(at, SidebarRows::KindRole).toString() == QLatin1String("team")
            && !rows->data(at, SidebarRows::ExpandedRole).toBool())
            rows->toggleFold(rows->data(at, SidebarRows::IdentityRole).toString());
    }
    settle(kSettleMs);
    const QStringList ids = chatIdentities(chats);
    report("chats", qint64(ids.size()));
    for (const QString& id : ids) {
        if (m_shell.sidebar()->selectedId() == id) {
            settle(kSettleMs);
            continue;
        }
        bool cached = false;
        const double ms = open(id, cached);
        if (!waitForHistory()) {
            std::printf("error_history=%s\n", qPrintable(id));
            std::fflush(stdout);
            return false;
        }
        if (ms >= 0)
            report("first_open_ms", ms);
        report("history_messages", qint64(m_shell.chatSession()->chat()->messages().size()));
        settle(kSettleMs);
    }
    const MemoryUse afterChats = memoryUse();
    report("chats_peak_kb", afterChats.peakKb);
    report("chats_rss_kb", afterChats.residentKb);

    for (int round = 0; round < rounds; ++round)
        for (const QString& id : ids) {
            if (m_shell.sidebar()->selectedId() == id)
                continue;
            bool cached = false;
            const double ms = open(id, cached);
            if (ms < 0) {
                std::printf("error_no_chat_frame=%s\n", qPrintable(id));
                std::fflush(stdout);
                return false;
            }
            report(cached ? "cached_open_ms" : "cached_open_late_ms", ms);
            waitForHistory();
            settle(kSettleMs);
        }
    const MemoryUse end = memoryUse();
    report("end_peak_kb", end.peakKb);
    report("end_rss_kb", end.residentKb);
    return true;
}

} // namespace halvex::bench
