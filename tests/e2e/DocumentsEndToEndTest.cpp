// Documents sent with a turn, opened from the message they came with: the PDF is downloaded with
// the session for the in-app viewer, the CSV is read into its table.
#include "SignedInTest.h"

#include "chat/service/ChatService.h"
#include "media/viewmodel/DocumentPreviewModel.h"
#include "support/SampleDocuments.h"

#include <QFile>
#include <QUuid>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;
using namespace Qt::StringLiterals;

using DocumentsEndToEndTest = SignedInTest;

TEST_F(DocumentsEndToEndTest, APdfAndACsvSentWithATurnOpenFromTheMessage)
{
    const QString agentId = firstEmployee().id;
    ASSERT_FALSE(agentId.isEmpty());

    ChatService chat(t->client);
    const QByteArray pdf = onePagePdf("Quarterly report");
    const QList<Attachment> uploaded = runTask(chat.uploadFiles(
        agentId,
        {{QStringLiteral("files"), QStringLiteral("q3 report.pdf"), QStringLiteral("application/pdf"), pdf},
         {QStringLiteral("files"), QStringLiteral("sales.csv"), QStringLiteral("text/csv"), bakerySalesCsv()}}));
    ASSERT_EQ(uploaded.size(), 2);
    runTask(chat.send(agentId, QStringLiteral("Here are the numbers"), uploaded, QUuid::createUuid().toString()));

    // What the chat shows comes back from its history, as any later session would see it.
    const ChatHistoryResponse history = runTask(chat.history(agentId, 20, std::nullopt, std::nullopt));
    QList<JSONValue> attachments;
    for (const ChatMessage& m : history.messages)
        if (m.content == u"Here are the numbers")
            for (const JSONValue& a : m.metadata.raw.value(QStringLiteral("attachments")).toArray())
                attachments << a;
    ASSERT_EQ(attachments.size(), 2);

    QList<QUrl> desktop;
    DocumentPreviewModel viewer(t->client, [&](const QUrl& url) {
        desktop << url;
        return true;
    });
    const auto open = [&](const JSONValue& a) {
        runTask(viewer.open(a["name"]->stringValue(), QUrl(a["url"]->stringValue().value_or(QString())),
                            a["mime"]->stringValue()));
    };
    open(attachments[0]);
    ASSERT_EQ(viewer.state(), DocumentPreviewModel::State::pdf) << viewer.error().toStdString();
    EXPECT_EQ(viewer.title(), u"q3 report.pdf"_s);
    QFile file(viewer.localFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), pdf);

    open(attachments[1]);
    ASSERT_EQ(viewer.state(), DocumentPreviewModel::State::table) << viewer.error().toStdString();
    EXPECT_EQ(viewer.table().columns, (QStringList{u"day"_s, u"loaves"_s, u"pastries"_s}));
    ASSERT_EQ(viewer.table().rows.size(), 3);
    EXPECT_EQ(viewer.table().rows[1][2], u"71, incl. 5 spoiled"_s);
    EXPECT_TRUE(desktop.isEmpty());
}
