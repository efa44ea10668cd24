// Documents sent with a turn open from their chips in the chat: the PDF in the in-app viewer with
// its page count, the CSV as a table; Escape closes the viewer.
#include "AppWindowFixture.h"

#include "chat/service/ChatService.h"
#include "support/RunTask.h"
#include "support/SampleDocuments.h"

#include <QUuid>

using namespace halvex;
using namespace halvex::test;

TEST_F(AppWindowFixture, DocumentsOpenFromTheirChipsInTheChat)
{
    launch();
    signInWithDemoAccount();
    ChatService chat(t->client);
    const QList<Attachment> uploaded = runTask(chat.uploadFiles(
        QStringLiteral("a-researcher"),
        {{QStringLiteral("files"), QStringLiteral("q3 report.pdf"), QStringLiteral("application/pdf"),
          onePagePdf("Rosehip & Rye - Q3 report")},
         {QStringLiteral("files"), QStringLiteral("sales.csv"), QStringLiteral("text/csv"), bakerySalesCsv()}}));
    ASSERT_EQ(uploaded.size(), 2);
    runTask(chat.send(QStringLiteral("a-researcher"), QStringLiteral("Numbers for the quarter"), uploaded,
                      QUuid::createUuid().toString()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell->sidebar()->rowCount() > 2; }, kWaitMs));
    shell->sidebar()->select(QStringLiteral("a-researcher"));
    waitForConversation();

    // The chips of the turn just sent, wherever its row lies in the list.
    QQuickItem* pdfChip = nullptr;
    QQuickItem* csvChip = nullptr;
    const std::function<void(QQuickItem*)> collect = [&](QQuickItem* item) {
        const QString text = item->property("text").toString();
        if (item->isVisible() && item->parentItem() && item->parentItem()->objectName() == u"chatFiles") {
            if (text.startsWith(u"q3 report.pdf · "))
                pdfChip = item;
            else if (text.startsWith(u"sales.csv · "))
                csvChip = item;
        }
        for (QQuickItem* child : item->childItems())
            collect(child);
    };
    const bool found = QTest::qWaitFor(
        [&] {
            collect(window->contentItem());
            return pdfChip && csvChip;
        },
        kWaitMs);
    screenshot(window, "chat-document-chips");
    ASSERT_TRUE(found);

    ASSERT_TRUE(clickInView(pdfChip));
    QQuickItem* pages = waitFor(window, "pageCount");
    ASSERT_NE(pages, nullptr) << shell->documents()->error().toStdString();
    EXPECT_EQ(pages->property("text").toString(), QStringLiteral("1 / 1"));
    EXPECT_EQ(find(window, "documentTitle")->property("text").toString(), QStringLiteral("q3 report.pdf"));
    // The page is drawn: the PDF's black heading shows inside the viewer.
    QQuickItem* view = find(window, "pdfView");
    const auto pageDrawn = [&] {
        const QImage shot = window->grabWindow();
        const QRect box = view->mapRectToScene(QRectF(0, 0, view->width(), view->height())).toRect();
        for (int y = box.top(); y < box.bottom(); y += 2)
            for (int x = box.left(); x < box.right(); x += 2)
                if (qGray(shot.pixel(x, y)) < 60)
                    return true;
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor(pageDrawn, kWaitMs)) << "the page's text is drawn";
    screenshot(window, "document-pdf");

    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell->documents()->isOpen(); }, kWaitMs));
    ASSERT_TRUE(clickInView(csvChip));
    QQuickItem* table = waitFor(window, "tableView");
    ASSERT_NE(table, nullptr) << shell->documents()->error().toStdString();
    EXPECT_EQ(shell->documents()->rows().size(), 3);
    screenshot(window, "document-csv");
}
