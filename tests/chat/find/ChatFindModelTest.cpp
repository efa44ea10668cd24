// Find in the open chat over a list of rows that changes the ways the chat's rows do: an answer
// streaming into the last row, a new turn appended, older history prepended, another chat.
#include "chat/viewmodel/ChatFindModel.h"
#include "support/QStringPrinter.h"

#include <QAbstractListModel>

#include <gtest/gtest.h>

using namespace halvex;
using namespace Qt::StringLiterals;

namespace {

constexpr int kTextRole = Qt::UserRole + 1;
constexpr int kIdRole = Qt::UserRole + 2;

class Rows : public QAbstractListModel {
public:
    struct Row {
        qint64 id;
        QString text;
    };
    QList<Row> rows;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const Row& row = rows.at(index.row());
        return role == kTextRole ? QVariant(row.text) : role == kIdRole ? QVariant(row.id) : QVariant();
    }
    void insert(int at, QList<Row> added)
    {
        beginInsertRows({}, at, at + int(added.size()) - 1);
        for (qsizetype i = 0; i < added.size(); ++i)
            rows.insert(at + i, added[i]);
        endInsertRows();
    }
    void remove(int at)
    {
        beginRemoveRows({}, at, at);
        rows.removeAt(at);
        endRemoveRows();
    }
    void setText(int at, const QString& text, QList<int> roles = {kTextRole})
    {
        rows[at].text = text;
        Q_EMIT dataChanged(index(at), index(at), roles);
    }
    void replaceAll(QList<Row> all)
    {
        beginResetModel();
        rows = std::move(all);
        endResetModel();
    }
};

class ChatFindModelTest : public ::testing::Test {
protected:
    Rows rows;
    ChatFindModel find;
    int changes = 0;

    void SetUp() override
    {
        rows.rows = {{1, u"Hello, how can I help?"_s},
                     {2, u"Find the **invoice** for March"_s},
                     {3, u"Here is the Invoice you asked for."_s},
                     {4, u"Thanks"_s},
                     {5, u"The INVOICE total is 120 €"_s}};
        find.setSource(&rows, kTextRole, kIdRole);
        QObject::connect(&find, &ChatFindModel::changed, [this] { ++changes; });
    }
};

} // namespace

TEST_F(ChatFindModelTest, ANewQueryCountsMatchingRowsAndStartsAtTheNewest)
{
    find.setQuery(u"invoice"_s);
    EXPECT_EQ(find.count(), 3);
    EXPECT_EQ(find.current(), 3);
    EXPECT_EQ(find.currentRow(), 4);

    find.previous();
    EXPECT_EQ(find.currentRow(), 2);
    find.previous();
    EXPECT_EQ(find.currentRow(), 1);
    find.previous();
    EXPECT_EQ(find.currentRow(), 4) << "wraps from the oldest to the newest";
    find.next();
    EXPECT_EQ(find.currentRow(), 1) << "and from the newest to the oldest";
    EXPECT_EQ(find.current(), 1);

    find.setQuery(u"nowhere"_s);
    EXPECT_EQ(find.count(), 0);
    EXPECT_EQ(find.current(), 0);
    EXPECT_EQ(find.currentRow(), -1);
    find.next();
    find.previous();
    EXPECT_EQ(find.currentRow(), -1);

    find.clear();
    EXPECT_EQ(find.count(), 0);
    EXPECT_EQ(find.query(), QString());
}

TEST_F(ChatFindModelTest, CaseCompatibilityFormsAndEmphasisMarksDoNotHideAMatch)
{
    rows.replaceAll({{1, u"Straße und Café"_s},
                     {2, u"Cafe\u0301 au lait"_s},
                     {3, u"ＦＵＬＬ width and the ﬁle"_s},
                     {4, u"a `snake_case` name and **bold** word"_s},
                     {5, u"ΣΊΣΥΦΟΣ"_s}});
    const auto rowsFor = [this](const QString& query) {
        find.setQuery(query);
        QList<int> found;
        for (int i = 0; i < find.count(); ++i) {
            found.prepend(find.currentRow());
            find.previous();
        }
        return found;
    };
    EXPECT_EQ(rowsFor(u"STRASSE"_s), QList<int>{0}) << "full case folding";
    EXPECT_EQ(rowsFor(u"café"_s), (QList<int>{0, 1})) << "composed and decomposed accents";
    EXPECT_EQ(rowsFor(u"full"_s), QList<int>{2});
    EXPECT_EQ(rowsFor(u"file"_s), QList<int>{2});
    EXPECT_EQ(rowsFor(u"bold word"_s), QList<int>{3});
    EXPECT_EQ(rowsFor(u"snake_case"_s), QList<int>{3});
    EXPECT_EQ(rowsFor(u"σίσυφος"_s), QList<int>{4}) << "final sigma";
}

TEST_F(ChatFindModelTest, TheCurrentMatchStaysOnItsRowWhileTheChatChanges)
{
    find.setQuery(u"invoice"_s);
    find.previous(); // "Here is the Invoice…", id 3
    ASSERT_EQ(find.currentRow(), 2);

    // Older history arrives above: the same message, two rows further down.
    rows.insert(0, {{-2, u"An older invoice question"_s}, {-1, u"Older answer"_s}});
    EXPECT_EQ(find.count(), 4);
    EXPECT_EQ(find.currentRow(), 4);
    EXPECT_EQ(find.current(), 3);

    // An answer streams into a new last row and starts to match part way.
    rows.insert(int(rows.rows.size()), {{6, u"Let me"_s}});
    EXPECT_EQ(find.count(), 4);
    const int before = changes;
    rows.setText(int(rows.rows.size()) - 1, u"Let me check the inv"_s);
    EXPECT_EQ(changes, before) << "nothing moved, nothing signalled";
    rows.setText(int(rows.rows.size()) - 1, u"Let me check the invoice"_s);
    EXPECT_EQ(find.count(), 5);
    EXPECT_EQ(find.currentRow(), 4) << "still on the row being read";

    // A change of another role is not read again.
    rows.rows[0].text = u"changed behind its back"_s;
    Q_EMIT rows.dataChanged(rows.index(0), rows.index(0), {kIdRole});
    EXPECT_EQ(find.count(), 5);

    // The current row goes: the next match down takes its place.
    rows.remove(4);
    EXPECT_EQ(find.count(), 4);
    EXPECT_EQ(find.currentRow(), 5);
    EXPECT_EQ(rows.rows[5].id, 5);
    // The current row stops matching: likewise.
    rows.setText(5, u"Thanks"_s);
    EXPECT_EQ(find.count(), 3);
    EXPECT_EQ(find.currentRow(), 6);

    // Another chat: a reset, the newest match of the new rows is current.
    rows.replaceAll({{10, u"invoice one"_s}, {11, u"invoice two"_s}});
    EXPECT_EQ(find.count(), 2);
    EXPECT_EQ(find.currentRow(), 1);
}

TEST_F(ChatFindModelTest, RowsAreReadOnlyWhileThereIsAQueryAndHostileTextIsSafe)
{
    // Without a query changes are ignored; a query reads whatever the rows are then.
    rows.insert(0, {{0, u"invoice zero"_s}});
    rows.remove(5);
    find.setQuery(u"invoice"_s);
    EXPECT_EQ(find.count(), 3);

    const QString lone = QString(QChar(0xD800)) + u"invoice"_s + QChar(0xDFFF) + QChar(0);
    QString huge(200'000, u'a');
    huge += u"invoice"_s;
    rows.insert(0, {{20, lone}, {21, huge}, {22, QString()}, {23, QString(QChar(0x0301))}});
    EXPECT_EQ(find.count(), 5);

    find.setQuery(QString(QChar(0xDC00)));
    EXPECT_EQ(find.count(), 0);
    find.setQuery(u"**"_s);
    EXPECT_EQ(find.count(), 0) << "only marks is nothing to find";

    // The source going away leaves an empty find, not a dangling one.
    auto gone = std::make_unique<Rows>();
    gone->rows = {{1, u"invoice"_s}};
    find.setSource(gone.get(), kTextRole, kIdRole);
    find.setQuery(u"invoice"_s);
    EXPECT_EQ(find.count(), 1);
    gone.reset();
    find.setQuery(u"invoic"_s);
    EXPECT_EQ(find.count(), 0);
}
