#pragma once
// Scrolls a long chat in the running main window the way a reader does with the wheel: the
// selected chat is given `messages` more messages, shown at its end, then moved up two wheel
// notches per frame. Each frame is timed from the move to the swap that shows it.
#include <QString>

class QQuickItem;
class QQuickWindow;

namespace halvex {
class AppShell;
}

namespace halvex::bench {

class ScrollPass {
public:
    ScrollPass(AppShell& shell, QQuickWindow& window, QQuickItem& list);
    // Reports "scroll_frame_ms" once a frame and "scroll_rows"; false when the chat never showed.
    bool run(int messages, int frames);

private:
    bool fill(int messages);

    AppShell& m_shell;
    QQuickWindow& m_window;
    QQuickItem& m_list;
};

} // namespace halvex::bench
