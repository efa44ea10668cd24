#include "desktop/viewmodel/ChatAlertWatcher.h"

#include "chat/viewmodel/ChatViewModel.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

namespace halvex {
namespace {

QSet<qint64> pendingApprovals(const ChatViewModel& chat)
{
    const ChatSurface surface = chat.backend().isTeam() ? ChatSurface::team : ChatSurface::solo;
    QSet<qint64> ids;
    for (const ChatMessage& message : chat.messages()) {
        if (message.id <= 0 || message.isUser())
            continue;
        const auto presentation = MessagePresentationResolver::cachedResolveShared(message, surface);
        if (presentation->variant == MessageVariant::approval && presentation->status == u"pending")
            ids.insert(message.id);
    }
    return ids;
}

QSet<QString> reviewKeys(const ChatViewModel& chat)
{
    QSet<QString> keys;
    for (const GoalReviewItem& item : chat.goalReviews())
        keys.insert(item.key());
    return keys;
}

QString lastAnswer(const ChatViewModel& chat)
{
    const auto& messages = chat.messages();
    for (auto it = messages.crbegin(); it != messages.crend(); ++it) {
        if (it->isAssistant() && !it->content.trimmed().isEmpty())
            return it->content;
    }
    return {};
}

} // namespace

void ChatAlertWatcher::follow(ChatViewModel* chat)
{
    disconnect(m_changed);
    disconnect(m_messages);
    m_chat = chat;
    m_primed = false;
    m_pendingApprovals.clear();
    m_reviews.clear();
    if (!chat)
        return;
    m_changed = connect(chat, &ChatViewModel::changed, this, &ChatAlertWatcher::check);
    m_messages = connect(chat, &ChatViewModel::messagesChanged, this, &ChatAlertWatcher::check);
    check();
}

DesktopAlert ChatAlertWatcher::alertOf(DesktopAlertKind kind, const QString& detail) const
{
    const ChatBackend& backend = m_chat->backend();
    const QString name = backend.isAgent() ? backend.agentValue()->name : backend.teamValue()->label;
    return DesktopAlert{kind, backend.id(), name, detail};
}

void ChatAlertWatcher::check()
{
    if (!m_chat || !m_chat->historyLoaded())
        return;
    const ChatViewModel& chat = *m_chat;
    const QSet<qint64> approvals = pendingApprovals(chat);
    const QSet<QString> reviews = reviewKeys(chat);
    const bool thinking = chat.isThinking();
    if (!m_primed) {
        m_primed = true;
        m_pendingApprovals = approvals;
        m_reviews = reviews;
        m_wasThinking = thinking;
        m_askedThisTurn = false;
        return;
    }
    const bool finished = m_wasThinking && !thinking;
    if (thinking && !m_wasThinking)
        m_askedThisTurn = false;
    m_wasThinking = thinking;
    bool waiting = false;
    for (const ChatMessage& message : chat.messages()) {
        if (approvals.contains(message.id) && !m_pendingApprovals.contains(message.id)) {
            Q_EMIT alert(alertOf(DesktopAlertKind::approvalWaiting, message.content));
            waiting = true;
        }
    }
    for (const GoalReviewItem& item : chat.goalReviews()) {
        if (!m_reviews.contains(item.key())) {
            Q_EMIT alert(alertOf(DesktopAlertKind::goalReviewWaiting, item.objective));
            waiting = true;
        }
    }
    m_pendingApprovals = approvals;
    m_reviews = reviews;
    m_askedThisTurn = m_askedThisTurn || waiting;
    // A turn that ends on a question for the user is announced by that question alone: the
    // chat's notification would otherwise be replaced by a plain "replied".
    if (finished && !m_askedThisTurn)
        Q_EMIT alert(alertOf(DesktopAlertKind::turnFinished, lastAnswer(chat)));
}

} // namespace halvex
