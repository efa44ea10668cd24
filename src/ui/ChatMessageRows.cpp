#include "ChatMessageRows.h"

#include "MessageBlocks.h"

#include "chat/viewmodel/ChatViewModel.h"
#include "richtext/MarkdownRenderCache.h"

namespace halvex {

ChatMessageRows::ChatMessageRows(QObject* parent) : QAbstractListModel(parent) {}

QString ChatMessageRows::kindOf(const ChatMessage& message)
{
    if (message.isUser())
        return QStringLiteral("user");
    if (message.isStep())
        return QStringLiteral("step");
    return QStringLiteral("answer");
}

void ChatMessageRows::setSource(ChatViewModel* chat)
{
    if (m_chat == chat)
        return;
    if (m_chat)
        disconnect(m_chat, nullptr, this, nullptr);
    m_chat = chat;
    beginResetModel();
    m_rows.clear();
    endResetModel();
    if (m_chat)
        connect(m_chat, &ChatViewModel::messagesChanged, this, &ChatMessageRows::sync);
    sync();
}

int ChatMessageRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

QVariant ChatMessageRows::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& row = m_rows.at(index.row());
    switch (role) {
    case IdRole: return row.id;
    case KindRole: return row.kind;
    case TextRole: return row.text;
    case PendingRole: return row.id < 0;
    case BlocksRole: {
        if (row.kind != QLatin1String("answer"))
            return {};
        MarkdownText text;
        text.text = row.text;
        if (row.id > 0)
            text.cacheKey = QString::number(row.id);
        const MarkdownRenderCache::BlocksBox blocks = MarkdownRenderCache::shared().blocks(text);
        return blocks ? blocksForQml(*blocks) : QVariantList();
    }
    default: return {};
    }
}

QHash<int, QByteArray> ChatMessageRows::roleNames() const
{
    return {{IdRole, "messageId"}, {KindRole, "kind"}, {TextRole, "text"}, {BlocksRole, "blocks"},
            {PendingRole, "pending"}};
}

void ChatMessageRows::sync()
{
    QList<Row> next;
    if (m_chat) {
        next.reserve(m_chat->messages().size());
        for (const ChatMessage& message : m_chat->messages())
            next.append({message.id, kindOf(message), message.content});
    }
    // Keep the rows whose ids match at both ends; replace the run between. Streaming changes
    // the last row, a new turn appends, an older page prepends: each is one small edit.
    const qsizetype common = std::min(next.size(), m_rows.size());
    qsizetype head = 0;
    while (head < common && m_rows[head].id == next[head].id)
        ++head;
    qsizetype tail = 0;
    while (tail < common - head && m_rows[m_rows.size() - 1 - tail].id == next[next.size() - 1 - tail].id)
        ++tail;
    const auto refresh = [this, &next](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i) {
            Row& row = m_rows[i];
            if (row.text != next[i].text || row.kind != next[i].kind) {
                row = next[i];
                Q_EMIT dataChanged(index(int(i)), index(int(i)));
            }
        }
    };
    refresh(0, head);
    if (const qsizetype oldEnd = m_rows.size() - tail; oldEnd > head) {
        beginRemoveRows({}, int(head), int(oldEnd - 1));
        m_rows.remove(head, oldEnd - head);
        endRemoveRows();
    }
    if (const qsizetype newEnd = next.size() - tail; newEnd > head) {
        beginInsertRows({}, int(head), int(newEnd - 1));
        m_rows.insert(head, newEnd - head, Row{});
        for (qsizetype i = head; i < newEnd; ++i)
            m_rows[i] = next[i];
        endInsertRows();
    }
    refresh(next.size() - tail, next.size());
}

} // namespace halvex
