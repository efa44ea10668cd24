#include "ScrollPass.h"

#include "../chat/ChatEvents.h"
#include "ProbeSupport.h"

#include "ui/app/AppShell.h"
#include "ui/chat/ChatSession.h"

#include "chat/viewmodel/ChatViewModel.h"

#include <QQuickItem>
#include <QQuickWindow>

namespace halvex::bench {

namespace {

constexpr int kTimeoutMs = 30'000;
constexpr qreal kWheelStep = 240; // two notches of a wheel
// Far above the service's own ids, so nothing it sends replaces them.
constexpr qint64 kFirstId = 1'000'000'000;

} // namespace

ScrollPass::ScrollPass(AppShell& shell, QQuickWindow& window, QQuickItem& list)
    : m_shell(shell),
      m_window(window),
      m_list(list)
{}

bool ScrollPass::fill(int messages)
{
    ChatSession* session = m_shell.chatSession();
    if (!session || !waitUntil([session] { return session->chat() && session->chat()->historyLoaded(); }, kTimeoutMs))
        return false;
    ChatViewModel* chat = session->chat();
    for (qint64 id = kFirstId; id < kFirstId + messages; ++id)
        chat->ingest(streamEvent(id, int(id % 4), AnswerText::numbered));
    QMetaObject::invokeMethod(&m_list, "positionViewAtEnd");
    return waitForFrame(
               m_window, [] { return true; }, kTimeoutMs)
        .has_value();
}

bool ScrollPass::run(int messages, int frames)
{
    if (!fill(messages))
        return false;
    settle(250);
    report("scroll_rows", qint64(m_list.property("count").toInt()));
    const qreal top = m_list.property("originY").toReal() - m_list.property("topMargin").toReal();
    for (int i = 0; i < frames; ++i) {
        const qreal y = m_list.property("contentY").toReal() - kWheelStep;
        if (y <= top)
            break;
        const qint64 moved = monotonicNs();
        m_list.setProperty("contentY", y);
        const std::optional<qint64> frame = waitForFrame(
            m_window, [] { return true; }, kTimeoutMs);
        if (!frame)
            return false;
        report("scroll_frame_ms", double(*frame - moved) / 1e6);
    }
    return true;
}

} // namespace halvex::bench
