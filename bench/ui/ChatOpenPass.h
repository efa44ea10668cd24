#pragma once
// Opens chats in the running main window the way a person clicks through the sidebar: each of
// the first `chats` employees and teams once (their history comes from the service), then the
// peak memory, then `rounds` more times round the same chats, now out of the history cache.
// Every open is timed from the selection to the first frame that shows its message rows.
#include <QStringList>

#include <functional>

class QQuickWindow;

namespace halvex {
class AppShell;
}

namespace halvex::bench {

class ChatOpenPass {
public:
    ChatOpenPass(AppShell& shell, QQuickWindow& window, std::function<bool()> messagesShown);
    bool run(int chats, int rounds);

private:
    QStringList chatIdentities(int limit) const;
    // Milliseconds from the selection to the frame; negative when no such frame came.
    double open(const QString& identity, bool& fromCacheOnly);
    bool waitForHistory();

    AppShell& m_shell;
    QQuickWindow& m_window;
    std::function<bool()> m_messagesShown;
};

} // namespace halvex::bench
