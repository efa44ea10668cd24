#pragma once
// Turns the open chat's changes into desktop alerts: a turn that stops working, an approval
// card that appears pending, a goal result that appears for review. What the chat already held
// when its history first loaded is not news.
#include "desktop/model/DesktopAlert.h"

#include <QObject>
#include <QPointer>
#include <QSet>

namespace halvex {

class ChatViewModel;

class ChatAlertWatcher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Follows `chat` (none: stops following).
    void follow(ChatViewModel* chat);

Q_SIGNALS:
    void alert(const halvex::DesktopAlert& alert);

private:
    void check();
    // Alerts for the approvals and goal results that appeared; true when there was one.
    bool checkApprovals(const ChatViewModel& chat);
    bool checkReviews(const ChatViewModel& chat, const QSet<QString>& reviews);
    DesktopAlert alertOf(DesktopAlertKind kind, const QString& detail) const;

    QPointer<ChatViewModel> m_chat;
    QMetaObject::Connection m_changed;
    QMetaObject::Connection m_messages;
    bool m_primed = false;
    // The message list's version the pending approvals were read at.
    int m_seenVersion = 0;
    bool m_wasThinking = false;
    // The running turn already asked the user something (an approval, a review).
    bool m_askedThisTurn = false;
    QSet<qint64> m_pendingApprovals;
    QSet<QString> m_reviews;
};

} // namespace halvex
