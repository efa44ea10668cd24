#pragma once
// The chat's messages as list rows. Each move of `messagesVersion` is applied as inserts,
// removals and changes against the rows already shown, never as a reset, so delegates and the
// scroll position survive streaming and older pages. Answer blocks come from the render cache.
//
// Rows are one per message for now; step groups and cards from the presentation layer replace
// the "kind" of a row without changing this contract.
#include <QAbstractListModel>
#include <QPointer>

namespace halvex {

class ChatViewModel;
struct ChatMessage;

class ChatMessageRows : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { IdRole = Qt::UserRole + 1, KindRole, TextRole, BlocksRole, PendingRole };

    explicit ChatMessageRows(QObject* parent = nullptr);

    // Null detaches; the rows then empty.
    void setSource(ChatViewModel* chat);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // "user", "answer" or "step".
    static QString kindOf(const ChatMessage& message);

private:
    struct Row {
        qint64 id = 0;
        QString kind;
        QString text;
    };
    void sync();

    QPointer<ChatViewModel> m_chat;
    QList<Row> m_rows;
};

} // namespace halvex
