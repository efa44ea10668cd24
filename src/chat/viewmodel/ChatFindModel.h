#pragma once
// Find in the open chat: which of a list model's rows contain the query, and the current one,
// stepped through with next and previous. The rows are the chat's loaded messages; the text of
// each is read through one role, folded once (case, compatibility forms, Markdown emphasis
// marks) and kept, so a streamed answer re-reads only the row that changed. The current match
// follows its row by id when older history arrives above it. GUI thread only.
#include <QAbstractItemModel>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

namespace halvex {

class ChatFindModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY changed)
    // Matching rows; the current one counted from 1 (0 when there is none).
    Q_PROPERTY(int count READ count NOTIFY changed)
    Q_PROPERTY(int current READ current NOTIFY changed)
    // The source row of the current match, -1 when there is none.
    Q_PROPERTY(int currentRow READ currentRow NOTIFY changed)
public:
    explicit ChatFindModel(QObject* parent = nullptr);
    ~ChatFindModel() override;

    // The rows to search: their text under `textRole`, their identity under `idRole`.
    void setSource(QAbstractItemModel* model, int textRole, int idRole);

    QString query() const { return m_query; }
    void setQuery(const QString& query);
    int count() const { return int(m_matches.size()); }
    int current() const { return m_current + 1; }
    int currentRow() const { return m_current >= 0 ? m_matches.at(m_current) : -1; }

    // Towards older rows (up) and newer rows (down), wrapping at the ends.
    Q_INVOKABLE void previous();
    Q_INVOKABLE void next();
    Q_INVOKABLE void clear() { setQuery({}); }

    // The form both the rows and the query are compared in.
    static QString fold(QStringView text);

Q_SIGNALS:
    void changed();

private:
    struct Row {
        QString folded;
        QVariant id;
    };
    void readRows(int first, int last);
    void rebuild();
    // Recounts the matches and keeps the current one on the row it was on when it still matches.
    // True when the count or the current match changed.
    bool rematch(bool toNewest);
    void moveTo(int match);
    Row readRow(int row) const;

    QPointer<QAbstractItemModel> m_source;
    int m_textRole = Qt::DisplayRole;
    int m_idRole = Qt::UserRole;
    QList<QMetaObject::Connection> m_connections;
    QString m_query;
    QString m_foldedQuery;
    QList<Row> m_rows;
    QList<int> m_matches;
    int m_current = -1;
    QVariant m_currentId;
};

} // namespace halvex
