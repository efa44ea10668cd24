#include "ui/chat/ChatMessageRows.h"

#include "ui/chat/ChatRowFields.h"
#include "ui/chat/MessageBlocks.h"
#include "ui/chat/RenderWarming.h"

#include "chat/model/ChatChoiceParse.h"
#include "chat/viewmodel/ArtifactPreviewModel.h"
#include "chat/viewmodel/grouping/GoalReviewRows.h"
#include "chat/viewmodel/grouping/IncrementalChatRows.h"
#include "chat/viewmodel/grouping/ReasoningCardBuilder.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"
#include "richtext/MarkdownRenderCache.h"

namespace halvex {

struct ChatMessageRows::Rows {
    QList<ChatRowItem> list;
    // The message rows before reviews are attached, regrouped only where a change touched
    // them; a review change re-attaches without regrouping.
    ChatStepGrouping::IncrementalChatRows grouping;
};

ChatMessageRows::ChatMessageRows(QObject* parent) : QAbstractListModel(parent), m_rows(std::make_unique<Rows>()) {}

ChatMessageRows::~ChatMessageRows() = default;

void ChatMessageRows::reset(ChatSurface surface)
{
    beginResetModel();
    m_rows->list.clear();
    m_rows->grouping.reset(surface);
    m_reviews.clear();
    m_reviewBusy.clear();
    m_reviewErrors.clear();
    m_surface = surface;
    m_working = false;
    m_approvalBusy.clear();
    m_approvalErrors.clear();
    endResetModel();
}

int ChatMessageRows::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows->list.size());
}

QVariant ChatMessageRows::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows->list.size())
        return {};
    const ChatRowItem& row = m_rows->list.at(index.row());
    const ChatMessage* message = row.message();
    switch (role) {
    case IdRole:
        return message ? message->id : row.id().value;
    case KindRole:
        return ChatRowFields::kind(row, m_surface);
    case PendingRole:
        return message && message->id < 0;
    case TextRole:
        if (message)
            return ChatChoiceParse::parse(message->content, message->metadata).text;
        return {};
    case ChoicesRole:
        if (message && !message->isUser())
            return ChatChoiceParse::parse(message->content, message->metadata).options;
        return QStringList();
    case BlocksRole: {
        if (!message || message->isUser())
            return QVariantList();
        const MarkdownRenderCache::BlocksBox blocks
            = MarkdownRenderCache::shared().richBlocks(markdownTextFor(*message, m_surface), m_style);
        return blocks ? blocksForQml(*blocks) : QVariantList();
    }
    case CardRole:
        if (message)
            return ChatRowFields::card(*MessagePresentationResolver::cachedResolveShared(*message, m_surface), m_style);
        return QVariantMap();
    case ReasoningRole:
        if (row.kind() == ChatRowItem::Kind::stepGroup) {
            const bool live = m_working;
            return ChatRowFields::reasoning(ChatStepGrouping::reasoningCard(row.messages(), m_surface, live), m_style);
        }
        return QVariantMap();
    case ChipsRole: {
        QVariantList chips;
        if (const ArtifactChipsRow* group = row.chips())
            for (const ChatMessage& chip : group->messages) {
                const auto presentation = MessagePresentationResolver::cachedResolveShared(chip, m_surface);
                QVariantMap fields = ChatRowFields::card(*presentation, m_style);
                fields.insert(QStringLiteral("messageId"), chip.id);
                chips.append(fields);
            }
        return chips;
    }
    case ImagesRole:
        return message ? ChatRowFields::images(*message) : QVariantList();
    case FilesRole:
        return message ? ChatRowFields::files(*message) : QVariantList();
    case ApprovalBusyRole:
        return message && m_approvalBusy.contains(message->id);
    case ApprovalErrorRole:
        return message ? m_approvalErrors.value(message->id) : QString();
    case ReviewRole:
        if (const GoalReviewItem* review = row.review())
            return ChatRowFields::goalReview(*review);
        return QVariantMap();
    case ReviewBusyRole:
        return row.review() && m_reviewBusy.contains(row.review()->key());
    case ReviewErrorRole:
        return row.review() ? m_reviewErrors.value(row.review()->key()) : QString();
    default:
        return {};
    }
}

QHash<int, QByteArray> ChatMessageRows::roleNames() const
{
    return {{IdRole, "messageId"},
            {KindRole, "kind"},
            {TextRole, "text"},
            {BlocksRole, "blocks"},
            {PendingRole, "pending"},
            {CardRole, "card"},
            {ReasoningRole, "reasoning"},
            {ChipsRole, "chips"},
            {ChoicesRole, "choices"},
            {ImagesRole, "images"},
            {FilesRole, "files"},
            {ApprovalBusyRole, "approvalBusy"},
            {ApprovalErrorRole, "approvalError"},
            {ReviewRole, "review"},
            {ReviewBusyRole, "reviewBusy"},
            {ReviewErrorRole, "reviewError"}};
}

void ChatMessageRows::setMessages(const QList<ChatMessage>& messages, qsizetype unchangedBefore)
{
    const QList<ChatRowItem>& grouped = m_rows->grouping.update(messages, unchangedBefore);
    // Without reviews the shown rows are the grouping's, so the rows it kept are still shown.
    if (m_reviews.isEmpty())
        applyRows(grouped, m_rows->grouping.keptRows());
    else
        applyRows(GoalReviewRows::attach(grouped, m_reviews));
}

void ChatMessageRows::applyRows(const QList<ChatRowItem>& next, qsizetype sameHead)
{
    QList<ChatRowItem>& rows = m_rows->list;
    // Keep the rows whose ids match at both ends; replace the run between. Streaming changes
    // the last row, a new turn appends, an older page prepends: each is one small edit.
    const qsizetype common = std::min(next.size(), rows.size());
    qsizetype head = std::min(sameHead, common);
    const qsizetype checkedFrom = head;
    while (head < common && rows[head].id() == next[head].id())
        ++head;
    qsizetype tail = 0;
    while (tail < common - head && rows[rows.size() - 1 - tail].id() == next[next.size() - 1 - tail].id())
        ++tail;
    const auto refresh = [this, &rows, &next](qsizetype from, qsizetype to, qsizetype shift) {
        for (qsizetype i = from; i < to; ++i) {
            const ChatRowItem& fresh = next[i - shift];
            if (rows[i].revision() != fresh.revision()) {
                rows[i] = fresh;
                Q_EMIT dataChanged(index(int(i)), index(int(i)));
            }
        }
    };
    refresh(checkedFrom, head, 0);
    if (const qsizetype oldEnd = rows.size() - tail; oldEnd > head) {
        beginRemoveRows({}, int(head), int(oldEnd - 1));
        rows.remove(head, oldEnd - head);
        endRemoveRows();
    }
    if (const qsizetype newEnd = next.size() - tail; newEnd > head) {
        beginInsertRows({}, int(head), int(newEnd - 1));
        if (tail == 0) {
            // Rows added at the end (a streaming turn): the rows before stay where they are.
            for (qsizetype i = head; i < newEnd; ++i)
                rows.append(next[i]);
        } else {
            QList<ChatRowItem> rest = rows.mid(head);
            rows.remove(head, rows.size() - head);
            rows.append(next.mid(head, newEnd - head));
            rows.append(rest);
        }
        endInsertRows();
    }
    refresh(rows.size() - tail, rows.size(), rows.size() - next.size());
}

void ChatMessageRows::setLiveState(bool working, const QSet<qint64>& approvalBusy,
                                   const QMap<qint64, QString>& approvalErrors)
{
    if (working == m_working && approvalBusy == m_approvalBusy && approvalErrors == m_approvalErrors)
        return;
    m_working = working;
    m_approvalBusy = approvalBusy;
    m_approvalErrors = approvalErrors;
    refreshLiveRows();
}

void ChatMessageRows::setGoalReviews(const QList<GoalReviewItem>& reviews, const QSet<QString>& busy,
                                     const QMap<QString, QString>& errors)
{
    const bool stateChanged = busy != m_reviewBusy || errors != m_reviewErrors;
    m_reviewBusy = busy;
    m_reviewErrors = errors;
    if (reviews != m_reviews) {
        m_reviews = reviews;
        applyRows(GoalReviewRows::attach(m_rows->grouping.rows(), m_reviews));
    }
    if (stateChanged)
        refreshReviewRows();
}

void ChatMessageRows::refreshReviewRows()
{
    const QList<ChatRowItem>& rows = m_rows->list;
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (rows[i].review())
            Q_EMIT dataChanged(index(int(i)), index(int(i)), {ReviewBusyRole, ReviewErrorRole});
}

void ChatMessageRows::refreshLiveRows()
{
    const QList<ChatRowItem>& rows = m_rows->list;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ChatRowItem& row = rows[i];
        const bool live = row.kind() == ChatRowItem::Kind::stepGroup
            || (row.message() && !row.message()->isUser()
                && MessagePresentationResolver::cachedResolveShared(*row.message(), m_surface)->variant
                    == MessageVariant::approval);
        if (live)
            Q_EMIT dataChanged(index(int(i)), index(int(i)), {ReasoningRole, ApprovalBusyRole, ApprovalErrorRole});
    }
}

void ChatMessageRows::setInlineStyle(const InlineStyle& style)
{
    if (style == m_style)
        return;
    m_style = style;
    if (!m_rows->list.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_rows->list.size()) - 1),
                           {BlocksRole, CardRole, ReasoningRole, ChipsRole});
}

} // namespace halvex
