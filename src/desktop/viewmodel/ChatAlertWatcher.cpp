#include "desktop/viewmodel/ChatAlertWatcher.h"

#include "chat/viewmodel/ChatViewModel.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

namespace halvex {
namespace {

// The pending approval cards among the messages from `first` on.
QSet<qint64> pendingApprovals(const ChatViewModel& chat, qsizetype first)
{
    const ChatSurface surface = chat.backend().isTeam() ? ChatSurface::team : ChatSurface::solo;
    const auto& messages = chat.messages();
    QSet<qint64> ids;
    for (qsizetype i = first; i < messages.size(); ++i) {
        const ChatMessage& message = messages.at(i);
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
    const QSet<QString> reviews = reviewKeys(chat);
    const bool thinking = chat.isThinking();
    if (!m_primed) {
        m_primed = true;
        m_seenVersion = chat.messagesVersion();
        m_pendingApprovals = pendingApprovals(chat, 0);
        m_reviews = reviews;
        m_wasThinking = thinking;
        m_askedThisTurn = false;
        return;
    }
    const bool finished = m_wasThinking && !thinking;
    if (thinking && !m_wasThinking)
        m_askedThisTurn = false;
    m_wasThinking = thinking;
    const bool approvalWaiting = checkApprovals(chat);
    const bool reviewWaiting = checkReviews(chat, reviews);
    m_askedThisTurn = m_askedThisTurn || approvalWaiting || reviewWaiting;
    // A turn that ends on a question for the user is announced by that question alone: the
    // chat's notification would otherwise be replaced by a plain "replied".
    if (finished && !m_askedThisTurn)
        Q_EMIT alert(alertOf(DesktopAlertKind::turnFinished, lastAnswer(chat)));
}

bool ChatAlertWatcher::checkApprovals(const ChatViewModel& chat)
{
    // Every stream event signals a change; only the messages after the unchanged head are
    // looked at, so a long chat costs its newest turn, not its length.
    if (chat.messagesVersion() == m_seenVersion)
        return false;
    const qsizetype first = chat.unchangedSince(m_seenVersion);
    m_seenVersion = chat.messagesVersion();
    const QSet<qint64> pending = pendingApprovals(chat, first);
    bool waiting = false;
    const auto& messages = chat.messages();
    for (qsizetype i = first; i < messages.size(); ++i) {
        const ChatMessage& message = messages.at(i);
        if (pending.contains(message.id) && !m_pendingApprovals.contains(message.id)) {
            Q_EMIT alert(alertOf(DesktopAlertKind::approvalWaiting, message.content));
            waiting = true;
        }
    }
    if (first == 0)
        m_pendingApprovals = pending;
    for (qsizetype i = first; first > 0 && i < messages.size(); ++i) {
        if (!pending.contains(messages.at(i).id))
            m_pendingApprovals.remove(messages.at(i).id);
    }
    m_pendingApprovals.unite(pending);
    return waiting;
}

bool ChatAlertWatcher::checkReviews(const ChatViewModel& chat, const QSet<QString>& reviews)
{
    bool waiting = false;
    for (const GoalReviewItem& item : chat.goalReviews()) {
        if (!m_reviews.contains(item.key())) {
            Q_EMIT alert(alertOf(DesktopAlertKind::goalReviewWaiting, item.objective));
            waiting = true;
        }
    }
    m_reviews = reviews;
    return waiting;
}

} // namespace halvex
