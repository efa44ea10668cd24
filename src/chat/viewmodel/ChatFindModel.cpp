#include "chat/viewmodel/ChatFindModel.h"

namespace halvex {

namespace {

// Emphasis and code marks of an answer's Markdown: the reader never sees them, so "bold word"
// finds "**bold** word". They are dropped from the query alike.
bool isEmphasisMark(QChar c) { return c == u'*' || c == u'_' || c == u'`' || c == u'~'; }

} // namespace

ChatFindModel::ChatFindModel(QObject* parent) : QObject(parent) {}

ChatFindModel::~ChatFindModel() = default;

QString ChatFindModel::fold(QStringView text)
{
    // Compatibility forms ("ﬁ", full-width letters, a decomposed "é") compare as what they show.
    QString folded = text.toString().normalized(QString::NormalizationForm_KC).toCaseFolded();
    folded.removeIf(isEmphasisMark);
    // Qt folds one character to one; the sharp s is the one full folding readers expect.
    folded.replace(QChar(0x00DF), QStringLiteral("ss"));
    return folded;
}

void ChatFindModel::setSource(QAbstractItemModel* model, int textRole, int idRole)
{
    for (const QMetaObject::Connection& connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_source = model;
    m_textRole = textRole;
    m_idRole = idRole;
    if (model) {
        const auto all = [this] {
            rebuild();
            if (rematch(false))
                Q_EMIT changed();
        };
        m_connections = {
            connect(model, &QObject::destroyed, this,
                    [this] {
                        m_rows.clear();
                        if (rematch(false))
                            Q_EMIT changed();
                    }),
            connect(model, &QAbstractItemModel::modelReset, this, all),
            connect(model, &QAbstractItemModel::layoutChanged, this, all),
            connect(model, &QAbstractItemModel::rowsMoved, this, all),
            connect(model, &QAbstractItemModel::rowsInserted, this,
                    [this](const QModelIndex& parent, int first, int last) {
                        if (parent.isValid() || m_foldedQuery.isEmpty())
                            return;
                        for (int row = first; row <= last; ++row)
                            m_rows.insert(row, readRow(row));
                        if (rematch(false))
                            Q_EMIT changed();
                    }),
            connect(model, &QAbstractItemModel::rowsRemoved, this,
                    [this](const QModelIndex& parent, int first, int last) {
                        if (parent.isValid() || m_foldedQuery.isEmpty())
                            return;
                        m_rows.remove(first, last - first + 1);
                        if (rematch(false))
                            Q_EMIT changed();
                    }),
            connect(model, &QAbstractItemModel::dataChanged, this,
                    [this](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                        if (m_foldedQuery.isEmpty() || (!roles.isEmpty() && !roles.contains(m_textRole)))
                            return;
                        readRows(from.row(), to.row());
                        if (rematch(false))
                            Q_EMIT changed();
                    }),
        };
    }
    rebuild();
    if (rematch(true))
        Q_EMIT changed();
}

void ChatFindModel::setQuery(const QString& query)
{
    if (query == m_query)
        return;
    const bool wasIdle = m_foldedQuery.isEmpty();
    m_query = query;
    m_foldedQuery = fold(query);
    if (wasIdle)
        rebuild();
    // A new query starts at the newest match: the reader is at the bottom of the chat.
    rematch(true);
    Q_EMIT changed();
}

void ChatFindModel::previous()
{
    if (m_matches.isEmpty())
        return;
    moveTo(m_current <= 0 ? int(m_matches.size()) - 1 : m_current - 1);
}

void ChatFindModel::next()
{
    if (m_matches.isEmpty())
        return;
    moveTo((m_current + 1) % int(m_matches.size()));
}

void ChatFindModel::moveTo(int match)
{
    m_current = match;
    m_currentId = m_rows.at(m_matches.at(match)).id;
    Q_EMIT changed();
}

ChatFindModel::Row ChatFindModel::readRow(int row) const
{
    const QModelIndex index = m_source->index(row, 0);
    return {fold(index.data(m_textRole).toString()), index.data(m_idRole)};
}

void ChatFindModel::readRows(int first, int last)
{
    for (int row = std::max(first, 0); row <= last && row < m_rows.size(); ++row)
        m_rows[row] = readRow(row);
}

void ChatFindModel::rebuild()
{
    m_rows.clear();
    // Rows are read only while there is something to find.
    if (!m_source || m_foldedQuery.isEmpty())
        return;
    const int rows = m_source->rowCount();
    m_rows.reserve(rows);
    for (int row = 0; row < rows; ++row)
        m_rows.append(readRow(row));
}

bool ChatFindModel::rematch(bool toNewest)
{
    const int oldCount = count();
    const int oldCurrent = m_current;
    const int oldRow = currentRow();
    const QVariant oldId = oldRow >= 0 && !toNewest ? m_currentId : QVariant();

    m_matches.clear();
    if (!m_foldedQuery.isEmpty())
        for (int row = 0; row < m_rows.size(); ++row)
            if (m_rows.at(row).folded.contains(m_foldedQuery))
                m_matches.append(row);

    m_current = int(m_matches.size()) - 1;
    if (oldId.isValid()) {
        const auto same
            = std::find_if(m_matches.cbegin(), m_matches.cend(), [&](int row) { return m_rows.at(row).id == oldId; });
        // The current row stopped matching or went: the match now at its place, or the last.
        m_current = same != m_matches.cend() ? int(same - m_matches.cbegin())
                                             : std::min(oldCurrent, int(m_matches.size()) - 1);
    }
    m_currentId = m_current >= 0 ? m_rows.at(m_matches.at(m_current)).id : QVariant();
    return count() != oldCount || m_current != oldCurrent || currentRow() != oldRow;
}

} // namespace halvex
