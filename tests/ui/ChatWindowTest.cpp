// A person's road through a chat, in the real window against the real local service: pick the
// seeded researcher, page back through its history, send a turn and watch its steps fold and
// its answer arrive, then approve an approval.
#include "AppWindowFixture.h"
#include "ui/chat/ChatMessageRows.h"
#include "ui/chat/ChatSession.h"

#include "chat/viewmodel/ChatViewModel.h"

#include <QAbstractItemModelTester>
#include <QJsonDocument>
#include <QPointer>
#include <QSignalSpy>

using namespace halvex;
using namespace halvex::test;

namespace {

class ChatWindowTest : public AppWindowFixture {
protected:
    // Paced, so a running step stays on screen long enough to be seen folding.
    ChatWindowTest() { serviceArgs << QStringLiteral("--pace-ms") << QStringLiteral("250"); }

    QAbstractListModel* rows() const { return shell->chatSession()->rows(); }
    ChatViewModel* chat() const { return shell->chatSession()->chat(); }

    QStringList kinds() const
    {
        QStringList list;
        for (int i = 0; i < rows()->rowCount(); ++i)
            list << rows()->data(rows()->index(i), ChatMessageRows::KindRole).toString();
        return list;
    }
    int lastRowOf(const QString& kind) const { return int(kinds().lastIndexOf(kind)); }

    void openResearcher()
    {
        launch();
        signInWithDemoAccount();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
        shell->sidebar()->select(QStringLiteral("a-researcher"));
        waitForConversation();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return chat() && chat()->historyLoaded() && rows()->rowCount() > 0; }, kWaitMs));
    }

    void sendTurn(const QString& text)
    {
        chat()->setInput(text);
        QQuickItem* input = findVisual(window->contentItem(), QStringLiteral("composerInput"));
        ASSERT_NE(input, nullptr);
        input->forceActiveFocus();
        QTest::keyClick(window, Qt::Key_Return);
    }
};

TEST_F(ChatWindowTest, HistoryPagesBackwardAsInsertsAndTheSeededTurnsShowAsCards)
{
    openResearcher();
    QAbstractItemModelTester tester(rows(), QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy resets(rows(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(rows(), &QAbstractItemModel::rowsInserted);

    const QStringList first = kinds();
    EXPECT_TRUE(first.contains(QStringLiteral("user")));
    EXPECT_TRUE(first.contains(QStringLiteral("answer")));
    EXPECT_TRUE(first.contains(QStringLiteral("card"))) << "usage lines are cards of their own";
    ASSERT_TRUE(chat()->hasMoreHistory());

    const int before = rows()->rowCount();
    const QVariant newest = rows()->data(rows()->index(before - 1), ChatMessageRows::IdRole);
    shell->chatSession()->loadOlder();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows()->rowCount() > before; }, kWaitMs));
    EXPECT_EQ(resets.count(), 0) << "an older page is inserted, never a reset";
    EXPECT_GE(inserts.count(), 1);
    EXPECT_EQ(rows()->data(rows()->index(rows()->rowCount() - 1), ChatMessageRows::IdRole), newest);
    screenshot(window, "chat-history-light");
}

TEST_F(ChatWindowTest, ATurnFoldsItsStepsAndAnApprovalIsApprovedFromItsCard)
{
    openResearcher();
    QSignalSpy resets(rows(), &QAbstractItemModel::modelReset);
    const int before = rows()->rowCount();

    // The turn's steps show while it works: folded into a reasoning card when they run together,
    // else as step cards of their own, always above the answer.
    QStringList seenSteps;
    const auto watch = [&] {
        for (int i = before; i < rows()->rowCount(); ++i) {
            const QModelIndex at = rows()->index(i);
            const QString kind = rows()->data(at, ChatMessageRows::KindRole).toString();
            const QString title = kind == QLatin1String("steps")
                ? rows()->data(at, ChatMessageRows::ReasoningRole).toMap().value(QStringLiteral("title")).toString()
                : rows()->data(at, ChatMessageRows::CardRole).toMap().value(QStringLiteral("title")).toString();
            if ((kind == QLatin1String("steps") || kind == QLatin1String("card")) && !seenSteps.contains(title))
                seenSteps << title;
        }
    };
    QObject::connect(rows(), &QAbstractItemModel::rowsInserted, rows(), watch);
    QObject::connect(rows(), &QAbstractItemModel::dataChanged, rows(), watch);

    sendTurn(QStringLiteral("Compare the pricing of two analytics tools"));
    EXPECT_TRUE(chat()->input().isEmpty()) << "Enter sends and clears the composer";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return rows()->rowCount() > before + 1 && kinds().last() != QLatin1String("user") && !chat()->isThinking();
        },
        kWaitMs))
        << kinds().join(QLatin1Char(',')).toStdString();
    EXPECT_GT(lastRowOf(QStringLiteral("answer")), before) << kinds().join(QLatin1Char(',')).toStdString();
    EXPECT_GE(seenSteps.size(), 2) << seenSteps.join(QLatin1Char('|')).toStdString();
    EXPECT_LT(kinds().indexOf(QStringLiteral("card"), before), lastRowOf(QStringLiteral("answer")));
    EXPECT_EQ(resets.count(), 0) << "streaming edits rows in place";

    // Bindings follow the scheme at once; grabbing the window renders a fresh frame.
    theme->setMode(QStringLiteral("light"));
    screenshot(window, "main-chat-light");
    theme->setMode(QStringLiteral("gray"));
    screenshot(window, "main-chat-dark");
    theme->setMode(QStringLiteral("light"));

    // Shift+Enter breaks the line instead of sending.
    QQuickItem* input = findVisual(window->contentItem(), QStringLiteral("composerInput"));
    ASSERT_NE(input, nullptr);
    input->forceActiveFocus();
    for (char c : {'o', 'n', 'e'})
        QTest::keyClick(window, c);
    QTest::keyClick(window, Qt::Key_Return, Qt::ShiftModifier);
    for (char c : {'t', 'w', 'o'})
        QTest::keyClick(window, c);
    EXPECT_EQ(chat()->input(), QStringLiteral("one\ntwo"));
    chat()->setInput({});

    sendTurn(QStringLiteral("Please get my approval before emailing"));
    QQuickItem* approve = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            approve = findVisual(window->contentItem(), QStringLiteral("approveButton"));
            return approve != nullptr;
        },
        kWaitMs))
        << kinds().join(QLatin1Char(',')).toStdString();
    screenshot(window, "chat-approval");
    const int beforeApproval = rows()->rowCount();
    click(approve);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows()->rowCount() > beforeApproval; }, kWaitMs))
        << "the turn goes on once approved";
    EXPECT_TRUE(chat()->errorText().isEmpty()) << chat()->errorText().toStdString();
}

TEST_F(ChatWindowTest, ResearchStepsRunningTogetherFoldIntoAReasoningCardThenSettleAboveTheReport)
{
    openResearcher();
    const int before = rows()->rowCount();
    bool sawRunningGroup = false;
    int mostStepsInAGroup = 0;
    const auto watch = [&] {
        for (int i = before; i < rows()->rowCount(); ++i) {
            const QModelIndex at = rows()->index(i);
            if (rows()->data(at, ChatMessageRows::KindRole).toString() != QLatin1String("steps"))
                continue;
            const QVariantMap card = rows()->data(at, ChatMessageRows::ReasoningRole).toMap();
            if (card.value(QStringLiteral("status")).toString() == QLatin1String("running")) {
                sawRunningGroup = true;
                mostStepsInAGroup = std::max(mostStepsInAGroup, card.value(QStringLiteral("stepCount")).toInt());
            }
        }
    };
    QObject::connect(rows(), &QAbstractItemModel::rowsInserted, rows(), watch);
    QObject::connect(rows(), &QAbstractItemModel::dataChanged, rows(), watch);

    sendTurn(QStringLiteral("Please research and compare analytics tools"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return findVisual(window->contentItem(), QStringLiteral("reasoningCard")); }, kWaitMs))
        << kinds().join(QLatin1Char(',')).toStdString();
    screenshot(window, "chat-research-working");
    // A turn's usage line shows its rendered body as text, not as its markup.
    QQuickItem* usage = findVisual(window->contentItem(), QStringLiteral("usageLine"));
    ASSERT_NE(usage, nullptr);
    for (QQuickItem* part : usage->childItems())
        EXPECT_FALSE(part->property("text").toString().contains(QLatin1String("<span"))
                     && part->property("textFormat").toInt() == 0)
            << part->property("text").toString().toStdString();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return lastRowOf(QStringLiteral("answer")) > before && !chat()->isThinking(); }, kWaitMs))
        << kinds().join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(sawRunningGroup) << "the steps ran side by side as one group";
    EXPECT_EQ(mostStepsInAGroup, 3);

    // Finished, the steps are events of their own, above the report and its sources.
    const QStringList after = kinds().mid(before);
    EXPECT_FALSE(after.contains(QStringLiteral("steps"))) << after.join(QLatin1Char(',')).toStdString();
    const int answer = lastRowOf(QStringLiteral("answer"));
    int events = 0;
    for (int i = before; i < answer; ++i)
        if (rows()->data(rows()->index(i), ChatMessageRows::CardRole).toMap().value(QStringLiteral("variant"))
            == QLatin1String("event"))
            ++events;
    EXPECT_GE(events, 3);
    const QVariantList blocks = rows()->data(rows()->index(answer), ChatMessageRows::BlocksRole).toList();
    const QString shown = QString::fromUtf8(QJsonDocument::fromVariant(blocks).toJson());
    EXPECT_TRUE(shown.contains(QStringLiteral("https://example.com/northwind/pricing"))) << shown.toStdString();
}

TEST_F(ChatWindowTest, AGoalResultIsReviewedFromItsCard)
{
    openResearcher();
    sendTurn(QStringLiteral("Start a goal: qualified leads for the spring campaign"));
    QQuickItem* card = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            card = findVisual(window->contentItem(), QStringLiteral("goalReviewCard"));
            return card != nullptr && !chat()->isThinking();
        },
        kWaitMs))
        << kinds().join(QLatin1Char(',')).toStdString();
    EXPECT_GT(lastRowOf(QStringLiteral("goalReview")), lastRowOf(QStringLiteral("answer"))) << "after its run's answer";

    // Sending it back needs a reason; the card says so and keeps its buttons.
    ASSERT_TRUE(clickInView(findVisual(card, QStringLiteral("goalRequestChanges"))));
    ASSERT_TRUE(clickInView(findVisual(card, QStringLiteral("goalSendBack"))));
    QQuickItem* error = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (error = findVisual(card, QStringLiteral("goalReviewError"))); }, kWaitMs));
    EXPECT_EQ(error->property("text").toString(),
              QStringLiteral("Describe what should be changed before requesting a revision."));
    EXPECT_TRUE(waitInView(error)) << "the list keeps the growing card in view";
    theme->setMode(QStringLiteral("light"));
    screenshot(window, "chat-goal-review-light");
    theme->setMode(QStringLiteral("gray"));
    screenshot(window, "chat-goal-review-dark");
    theme->setMode(QStringLiteral("light"));

    // Accepted, the result leaves the chat.
    ASSERT_TRUE(clickInView(findVisual(card, QStringLiteral("goalCancel"))));
    ASSERT_TRUE(clickInView(findVisual(card, QStringLiteral("goalAccept"))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !kinds().contains(QStringLiteral("goalReview")); }, kWaitMs));
    EXPECT_TRUE(chat()->goalReviewErrors().isEmpty());
    EXPECT_TRUE(chat()->goalReviews().isEmpty());
}

} // namespace

TEST_F(ChatWindowTest, TheListFollowsTheStreamAndCountsWhatArrivesWhileScrolledUp)
{
    openResearcher();
    QQuickItem* list = findVisual(window->contentItem(), QStringLiteral("messageList"));
    ASSERT_NE(list, nullptr);
    const auto number = [&](const char* name) { return list->property(name).toReal(); };
    const auto atBottom
        = [&] { return number("contentY") + list->height() >= number("contentHeight") + number("originY") - 2; };
    ASSERT_TRUE(QTest::qWaitFor(atBottom, kWaitMs)) << "an opened chat lands on its newest message";

    // At the bottom: the answer and the suggestion chips that shrink the list keep the last line in view.
    sendTurn(QStringLiteral("Say hello"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !chat()->isThinking() && !chat()->chatSuggestions().isEmpty(); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor(atBottom, kWaitMs));
    QQuickItem* jump = find(window, "jumpToLatest");
    ASSERT_NE(jump, nullptr);
    EXPECT_FALSE(jump->isVisible());

    // Scrolled up by the reader, the view stays put and the control counts what arrived.
    // The middle, away from the top where older history would load.
    list->setProperty("contentY", number("originY") + number("contentHeight") / 2);
    QMetaObject::invokeMethod(list, "readerMoved");
    // What the reader sees is the row at the top of the view; its position in numbers may drift
    // as the view measures rows it had estimated.
    const auto topRow = [&] {
        int index = -1;
        QMetaObject::invokeMethod(list, "indexAt", Q_RETURN_ARG(int, index), Q_ARG(qreal, list->width() / 2),
                                  Q_ARG(qreal, number("contentY") + 40));
        return index;
    };
    const int readingAt = topRow();
    ASSERT_GE(readingAt, 0);
    ASSERT_FALSE(list->property("atEnd").toBool());
    sendTurn(QStringLiteral("Say hello again"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return jump->isVisible() && jump->property("text").toString().contains(QStringLiteral("new")); },
        kWaitMs));
    EXPECT_FALSE(list->property("atEnd").toBool());
    EXPECT_NEAR(topRow(), readingAt, 1) << "the row being read stays in view";
    screenshot(window, "chat-scrolled-up-new-messages");
    QMetaObject::invokeMethod(list, "jumpToLatest");
    ASSERT_TRUE(QTest::qWaitFor(atBottom, kWaitMs));
    EXPECT_FALSE(jump->isVisible());
}

TEST_F(ChatWindowTest, GoingBackToARecentChatShowsItsListAsItWasWithoutMakingItAgain)
{
    openResearcher();
    QQuickItem* list = findVisual(window->contentItem(), QStringLiteral("messageList"));
    ASSERT_NE(list, nullptr);
    const auto newestDelegate = [](QQuickItem* view) -> QQuickItem* {
        QQuickItem* row = nullptr;
        QMetaObject::invokeMethod(view, "itemAtIndex", Q_RETURN_ARG(QQuickItem*, row),
                                  Q_ARG(int, view->property("count").toInt() - 1));
        return row;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return newestDelegate(list) != nullptr; }, kWaitMs));
    const QPointer<QQuickItem> researcherRow = newestDelegate(list);
    QAbstractListModel* researcherRows = rows();

    shell->sidebar()->select(QStringLiteral("a-support"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return chat() && chat()->historyLoaded(); }, kWaitMs));
    QQuickItem* other = findVisual(window->contentItem(), QStringLiteral("messageList"));
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, list) << "another chat has a list of its own";
    EXPECT_FALSE(list->isVisible());

    QSignalSpy resets(researcherRows, &QAbstractItemModel::modelReset);
    shell->sidebar()->select(QStringLiteral("a-researcher"));
    EXPECT_EQ(rows(), researcherRows);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(findVisual(window->contentItem(), QStringLiteral("messageList")), list);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chat() && chat()->historyLoaded(); }, kWaitMs));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_FALSE(researcherRow.isNull()) << "the newest row's delegate was kept, not made again";
    EXPECT_EQ(newestDelegate(list), researcherRow.data());
    EXPECT_TRUE(list->property("atEnd").toBool());
}

TEST_F(ChatWindowTest, ATableArtifactOpensInAPreviewFromItsCard)
{
    openResearcher();
    sendTurn(QStringLiteral("Put the leads into a table"));
    int row = -1;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (int i = rows()->rowCount() - 1; i >= 0 && row < 0; --i)
                if (rows()
                        ->data(rows()->index(i), ChatMessageRows::CardRole)
                        .toMap()
                        .value(QStringLiteral("previewable"))
                        .toBool())
                    row = i;
            return !chat()->isThinking() && row >= 0;
        },
        kWaitMs))
        << kinds().join(QLatin1Char(',')).toStdString();
    shell->chatSession()->openArtifact(rows()->data(rows()->index(row), ChatMessageRows::IdRole).toLongLong());
    ArtifactPreview* preview = shell->chatSession()->preview();
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview->kind() == QLatin1String("table"); }, kWaitMs))
        << preview->error().toStdString();
    EXPECT_FALSE(preview->columns().isEmpty());
    EXPECT_FALSE(preview->rows().isEmpty());
    EXPECT_TRUE(preview->countText().endsWith(QStringLiteral("rows")));
    QQuickItem* title = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (title = find(window, "previewTitle")) && title->isVisible(); }, kWaitMs));
    screenshot(window, "chat-table-preview");
    preview->close();
}

TEST_F(ChatWindowTest, APictureSentWithATurnShowsAsAThumbnail)
{
    openResearcher();
    // The attach button makes the file dialog on its first click (its module loads only then).
    QQuickItem* picker = findVisual(window->contentItem(), QStringLiteral("filePicker"));
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->property("item").value<QObject*>(), nullptr);
    ASSERT_TRUE(clickInView(findVisual(window->contentItem(), QStringLiteral("attachButton"))));
    QObject* dialog = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            dialog = picker->property("item").value<QObject*>();
            return dialog && dialog->property("visible").toBool();
        },
        kWaitMs));
    screenshot(window, "chat-file-dialog");
    QMetaObject::invokeMethod(dialog, "reject");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->property("visible").toBool(); }, kWaitMs));

    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(QColor(QStringLiteral("#3b82f6")));
    const QString path = dir.filePath(QStringLiteral("whiteboard.png"));
    ASSERT_TRUE(picture.save(path));
    shell->chatSession()->addFiles({QUrl::fromLocalFile(path)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return chat()->stagedCount() == 1 && !chat()->isUploading(); }, kWaitMs));
    sendTurn(QStringLiteral("Here is the whiteboard from today"));
    QQuickItem* thumbnail = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            thumbnail = findVisual(window->contentItem(), QStringLiteral("chatThumbnail"));
            return thumbnail && thumbnail->property("status").toInt() == 1; // Image.Ready
        },
        kWaitMs));
    EXPECT_TRUE(waitInView(thumbnail));
    screenshot(window, "chat-picture-thumbnail");
}

TEST_F(ChatWindowTest, AnImageTheEmployeeMadeShowsAsAPicture)
{
    openResearcher();
    sendTurn(QStringLiteral("Make an image for the spring launch"));
    QQuickItem* picture = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            picture = findVisual(window->contentItem(), QStringLiteral("artifactImage"));
            return picture && picture->property("status").toInt() == 1 && picture->width() > 0;
        },
        kWaitMs))
        << kinds().join(QLatin1Char(',')).toStdString();
    EXPECT_LE(picture->width(), 240);
    ASSERT_TRUE(waitInView(picture));
    screenshot(window, "chat-image-artifact");
}
