// Opening a linked document: which viewer it lands in, what the preview holds, what goes to the
// desktop, and that a newer document or a close drops a late answer.
#include "core/async/ManualClock.h"
#include "media/model/DelimitedText.h"
#include "media/viewmodel/DocumentPreviewModel.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;
using namespace Qt::StringLiterals;

namespace {

class DocumentPreviewTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server.origin(), &clock);
    QList<QUrl> desktop;
    bool desktopOpens = true;
    DocumentPreviewModel model{t->client, [this](const QUrl& url) {
                                   desktop << url;
                                   return desktopOpens;
                               }};

    QUrl at(const char* path) const { return QUrl(server.originText() + QString::fromLatin1(path)); }
    void open(const char* path, std::optional<QString> name = std::nullopt, std::optional<QString> mime = std::nullopt)
    {
        runTask(model.open(std::move(name), at(path), std::move(mime)));
    }
};

} // namespace

TEST(DelimitedTextTest, QuotedFieldsKeepSeparatorsQuotesAndLineBreaks)
{
    const DelimitedTable table = DelimitedText::parse(
        u"name,note\r\n\"Rye, dark\",\"says \"\"hi\"\"\nthen leaves\"\n\nshort\n\"open quote,runs", u',', 10);
    EXPECT_EQ(table.columns, (QStringList{u"name"_s, u"note"_s}));
    ASSERT_EQ(table.rows.size(), 3);
    EXPECT_EQ(table.rows[0], (QStringList{u"Rye, dark"_s, u"says \"hi\"\nthen leaves"_s}));
    EXPECT_EQ(table.rows[1], (QStringList{u"short"_s, u""_s})); // padded to the header
    EXPECT_EQ(table.rows[2], (QStringList{u"open quote,runs"_s, u""_s}));
    EXPECT_EQ(table.totalRows, 3);
}

TEST_F(DocumentPreviewTest, PdfAndPictureLandAsFilesMarkdownAndTextAsPreviews)
{
    server.on("GET", u"/files/q3.pdf"_s, FakeResponse::text(200, "%PDF-1.4 tiny"));
    open("/files/q3.pdf");
    EXPECT_EQ(model.state(), DocumentPreviewModel::State::pdf);
    EXPECT_EQ(model.title(), u"q3.pdf"_s);
    QFile pdf(model.localFile());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.readAll(), "%PDF-1.4 tiny");

    // A download address without an extension is classified by the attachment's name and type.
    server.on("GET", u"/api/v2/chat-files/abc"_s, FakeResponse::text(200, "# Plan\n\n- bake"));
    open("/api/v2/chat-files/abc", QStringLiteral("plan.md"));
    EXPECT_EQ(model.state(), DocumentPreviewModel::State::markdown);
    EXPECT_EQ(model.text(), u"# Plan\n\n- bake"_s);

    server.on("GET", u"/api/v2/chat-files/img"_s, FakeResponse::text(200, "not really a png"));
    open("/api/v2/chat-files/img", QStringLiteral("shot"), QStringLiteral("image/png"));
    EXPECT_EQ(model.state(), DocumentPreviewModel::State::image);

    // Invalid UTF-8 shows replacement characters; the preview stops at its limit and says so.
    QByteArray log("\xff\xfe ok\n");
    log.append(QByteArray(DocumentPreviewModel::maxPreviewCharacters, 'x'));
    server.on("GET", u"/files/run.log"_s, FakeResponse::text(200, log));
    open("/files/run.log");
    EXPECT_EQ(model.state(), DocumentPreviewModel::State::text);
    EXPECT_TRUE(model.text().startsWith(QStringLiteral("\uFFFD\uFFFD ok")));
    EXPECT_EQ(model.text().size(), DocumentPreviewModel::maxPreviewCharacters);
    EXPECT_EQ(model.notice(), u"Showing the first 200,000 characters."_s);
    EXPECT_TRUE(desktop.isEmpty());
}

TEST_F(DocumentPreviewTest, SpreadsheetsShowTheirFirstRowsWithTheFullCount)
{
    QByteArray csv("day,loaves\n");
    for (int i = 0; i < 1205; ++i)
        csv += QByteArray::number(i) + ",12\n";
    server.on("GET", u"/files/sales.csv"_s, FakeResponse::text(200, csv));
    open("/files/sales.csv");
    ASSERT_EQ(model.state(), DocumentPreviewModel::State::table);
    EXPECT_EQ(model.table().columns, (QStringList{u"day"_s, u"loaves"_s}));
    EXPECT_EQ(model.table().rows.size(), DocumentPreviewModel::maxPreviewRows);
    EXPECT_EQ(model.notice(), u"Showing the first 1,000 of 1,205 rows."_s);

    // An attachment's address has no extension; its name tells the format.
    server.on("GET", u"/api/v2/chat-files/t"_s, FakeResponse::text(200, "a\tb\n1\t2\n"));
    open("/api/v2/chat-files/t", u"t.tsv"_s);
    EXPECT_EQ(model.table().rows, (QList<QStringList>{{u"1"_s, u"2"_s}}));
    EXPECT_TRUE(model.notice().isEmpty());
}

TEST_F(DocumentPreviewTest, OfficeFilesGoToTheDesktopAndWebPagesToTheBrowser)
{
    server.on("GET", u"/files/deck.pptx"_s, FakeResponse::text(200, "PK..."));
    open("/files/deck.pptx", QStringLiteral("../../Q3 deck.pptx"));
    EXPECT_EQ(model.state(), DocumentPreviewModel::State::external);
    ASSERT_EQ(desktop.size(), 1);
    EXPECT_TRUE(desktop[0].isLocalFile());
    EXPECT_TRUE(desktop[0].toLocalFile().endsWith(QStringLiteral("/.._.._Q3 deck.pptx")));

    desktopOpens = false;
    open("/files/deck.pptx");
    EXPECT_EQ(model.state(), DocumentPreviewModel::State::failed);
    EXPECT_EQ(model.error(), u"No application on this computer opens “deck.pptx”."_s);

    desktop.clear();
    const int requests = int(server.requests().size());
    open("/pricing");
    EXPECT_EQ(desktop, (QList<QUrl>{at("/pricing")}));
    EXPECT_EQ(int(server.requests().size()), requests); // nothing downloaded
}

TEST_F(DocumentPreviewTest, FailuresSayWhyAndLateAnswersAreDropped)
{
    server.on("GET", u"/files/gone.csv"_s, FakeResponse::json(404, R"({"error":"Not found"})"));
    open("/files/gone.csv");
    EXPECT_EQ(model.state(), DocumentPreviewModel::State::failed);
    EXPECT_FALSE(model.error().isEmpty());

    server.on("GET", u"/files/slow.csv"_s, FakeResponse::held(FakeResponse::text(200, "a\n1\n")));
    server.on("GET", u"/files/fast.md"_s, FakeResponse::text(200, "fast"));
    auto slow = model.open(std::nullopt, at("/files/slow.csv"), std::nullopt);
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    open("/files/fast.md");
    server.releaseHeld();
    runTask(std::move(slow));
    EXPECT_EQ(model.state(), DocumentPreviewModel::State::markdown);
    EXPECT_EQ(model.text(), u"fast"_s);

    server.on("GET", u"/files/late.md"_s, FakeResponse::held(FakeResponse::text(200, "late")));
    auto late = model.open(std::nullopt, at("/files/late.md"), std::nullopt);
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    model.close();
    server.releaseHeld();
    runTask(std::move(late));
    EXPECT_EQ(model.state(), DocumentPreviewModel::State::closed);
}
