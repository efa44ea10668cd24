#pragma once
// The chat's rows for the message list: steps folded into reasoning cards, artifacts of a turn
// as chips, everything else one card per message. Each move of `messagesVersion` is applied as
// inserts, removals and changes against the rows already shown (matched by row id, changed by
// revision), never as a reset, so delegates and the scroll position survive streaming and older
// pages. Answer blocks come from the render cache.
//
// It knows the chat only as values handed in (messages, live state, goal reviews), so the chat
// session wires it to the view model and the tests drive it without one.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/grouping/ChatRowItem.h"
#include "chat/viewmodel/presentation/MessagePresentation.h"
#include "projects/model/GoalReviewItem.h"
#include "richtext/inline/InlineStyle.h"

#include <QAbstractListModel>
#include <QMap>
#include <QSet>

#include <memory>

namespace halvex {

class ChatMessageRows : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        KindRole,
        TextRole,
        BlocksRole,
        PendingRole,
        CardRole,
        ReasoningRole,
        ChipsRole,
        ChoicesRole,
        ApprovalBusyRole,
        ApprovalErrorRole,
        ReviewRole,
        ReviewBusyRole,
        ReviewErrorRole,
        ImagesRole,
        FilesRole,
    };

    explicit ChatMessageRows(QObject* parent = nullptr);
    ~ChatMessageRows() override;

    // Another chat: the rows empty (the one reset), then follow `messages`.
    void reset(ChatSurface surface);
    // The chat's messages after a move of `messagesVersion`, applied as the smallest edit;
    // `unchangedBefore` leading messages are those of the call before (the view model's
    // `unchangedSince`), so a change at the end costs what the end holds, not the whole chat.
    void setMessages(const QList<ChatMessage>& messages, qsizetype unchangedBefore = 0);
    // Busy and error of approvals and whether the chat works live outside the rows.
    void setLiveState(bool working, const QSet<qint64>& approvalBusy, const QMap<qint64, QString>& approvalErrors);
    // Results waiting for review, each placed after its run; busy and errors keyed by review key.
    void setGoalReviews(const QList<GoalReviewItem>& reviews, const QSet<QString>& busy,
                        const QMap<QString, QString>& errors);

    // The scheme's colours for rendered text: every row's text renders anew in them.
    void setInlineStyle(const InlineStyle& style);
    const InlineStyle& inlineStyle() const { return m_style; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    struct Rows;
    void refreshLiveRows();
    void refreshReviewRows();
    // Shows `next` (message rows with reviews attached) as the smallest edit of what is shown;
    // its first `sameHead` rows are known to be the ones shown.
    void applyRows(const QList<ChatRowItem>& next, qsizetype sameHead = 0);

    std::unique_ptr<Rows> m_rows;
    ChatSurface m_surface = ChatSurface::solo;
    InlineStyle m_style;
    bool m_working = false;
    QSet<qint64> m_approvalBusy;
    QMap<qint64, QString> m_approvalErrors;
    QList<GoalReviewItem> m_reviews;
    QSet<QString> m_reviewBusy;
    QMap<QString, QString> m_reviewErrors;
};

} // namespace halvex
