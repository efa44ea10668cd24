#include "chat/model/ChatMessage.h"
#include "agents/model/ChatBackend.h"
#include "chat/model/Attachment.h"
#include "chat/model/ChatHistory.h"

#include <gtest/gtest.h>

using namespace halvex;

namespace {
ChatMessage message(const QByteArray& json) { return decodeJSON<ChatMessage>(json); }
MessageMetadata metadata(const QByteArray& json) { return MessageMetadata::fromJSON(JSONValue::parse(json)); }
} // namespace

TEST(ChatMessage, IdsFromNumbersAndStrictDecimalStrings)
{
    EXPECT_EQ(message(R"({"id":42})").id, 42);
    EXPECT_EQ(message(R"({"id":"42"})").id, 42);
    EXPECT_EQ(message(R"({"id":"+7"})").id, 7);
    EXPECT_EQ(message(R"({"id":"-3"})").id, -3);
    EXPECT_EQ(message(R"({"id":"-9223372036854775808"})").id, std::numeric_limits<qint64>::min());
    EXPECT_EQ(message(R"({"id":"9223372036854775807"})").id, std::numeric_limits<qint64>::max());
    for (const char* bad : {R"("4x2")", R"("")", R"("+")", R"("-")", R"(" 42")", R"("9223372036854775808")", R"(4.5)",
                            R"(true)", R"(null)", R"({"n":1})"})
        EXPECT_EQ(message(QByteArray(R"({"id":)") + bad + "}").id, 0) << bad;
    EXPECT_EQ(message("{}").id, 0);
}

TEST(ChatMessage, BadFieldsFallBackInsteadOfFailing)
{
    const ChatMessage m = message(R"({"id":1,"role":5,"content":["x"],"metadata":"text","created_at":17,
                                      "conversation_id":{"a":1}})");
    EXPECT_EQ(m.role, QStringLiteral("assistant"));
    EXPECT_TRUE(m.content.isEmpty());
    EXPECT_TRUE(m.metadata.isEmpty());
    EXPECT_FALSE(m.createdAt);
    EXPECT_FALSE(m.conversationId);
    EXPECT_TRUE(message(R"({"metadata":null})").metadata.isEmpty());
    EXPECT_THROW(message("[1]"), APIError);
}

TEST(ChatMessage, HistoryWithOneGarbageMessageStillLoadsAndEncodingRoundTrips)
{
    const auto history = decodeJSON<ChatHistoryResponse>(R"({"messages":[
        {"id":1,"role":"user","content":"hi","created_at":"2026-01-01"},
        {"id":"x","role":[],"metadata":7},
        {"id":3,"role":"step","content":"ran","metadata":{"tool":"search"},"conversation_id":"c"}],
        "page":{"has_more":true,"oldest_id":1,"newest_id":3,"limit":50}})");
    ASSERT_EQ(history.messages.size(), 3);
    EXPECT_EQ(history.messages[1].id, 0);
    EXPECT_EQ(history.page, (ChatHistoryPage{true, 1, 3, 50}));
    for (const ChatMessage& m : history.messages)
        EXPECT_EQ(decodeJSON<ChatMessage>(encodeJSONObject(m.encode())), m);
    EXPECT_FALSE(history.messages[0].encode().contains(QStringLiteral("conversation_id")));

    EXPECT_THROW(decodeJSON<ChatHistoryResponse>(R"({"messages":[1]})"), APIError);
    EXPECT_THROW(decodeJSON<ChatHistoryResponse>(R"({"page":{"has_more":true}})"), APIError);
}

TEST(MessageMetadata, StringAccessorsPickTheFirstStringKey)
{
    const MessageMetadata m = metadata(R"({"tool_id":3,"name":"web","tool":"x","from":"","member_name":"Ann",
        "member_handle":"","session_id":"s1","live_view_url":7,"goal_run_id":"g"})");
    EXPECT_EQ(m.toolIdentifier(), QStringLiteral("web"));
    EXPECT_EQ(m.stepFrom(), QString()); // an empty string is still a string
    EXPECT_FALSE(m.memberHandle());
    EXPECT_EQ(m.browserSessionId(), QStringLiteral("s1"));
    EXPECT_FALSE(m.browserLiveURL());
    EXPECT_EQ(m.goalRunId(), QStringLiteral("g"));
    EXPECT_EQ(metadata(R"({"delegate_to":"lead"})").stepFrom(), QStringLiteral("lead"));
    EXPECT_FALSE(metadata("{}").toolIdentifier());
    EXPECT_TRUE(metadata("[1,2]").isEmpty());
}

TEST(MessageMetadata, NestedURLsListsAndAttachments)
{
    const MessageMetadata m = metadata(R"({"image":{"url":"https://i"},"document":{"url":""},
        "msg_parts":["a",1,"b"],"starters":"no",
        "attachments":[{"url":"u1"},{"name":"r.pdf","url":"u2","kind":"pdf"},{"name":"x"},"u3",{"url":5}]})");
    EXPECT_EQ(m.generatedImageURL(), QStringLiteral("https://i"));
    EXPECT_FALSE(m.generatedDocumentURL());
    EXPECT_EQ(m.msgParts(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_FALSE(m.starters());
    EXPECT_EQ(m.attachmentURLs(),
              (QList<AttachmentLink>{{QStringLiteral("file"), QStringLiteral("u1"), QStringLiteral("text")},
                                     {QStringLiteral("r.pdf"), QStringLiteral("u2"), QStringLiteral("pdf")}}));
    EXPECT_TRUE(metadata("{}").attachmentURLs().isEmpty());
    EXPECT_EQ(metadata(R"({"starters":[]})").starters(), QStringList{});
}

TEST(MessageMetadata, BrowserActivity)
{
    EXPECT_TRUE(metadata(R"({"tool":"Computer-Use"})").signalsBrowserActivity());
    EXPECT_TRUE(metadata(R"({"name":"browser_act"})").signalsBrowserActivity());
    EXPECT_TRUE(metadata(R"({"kind":"browser_view"})").signalsBrowserActivity());
    EXPECT_TRUE(metadata(R"({"browser_view":null})").signalsBrowserActivity());
    EXPECT_FALSE(metadata(R"({"tool":"browser"})").signalsBrowserActivity());
    EXPECT_FALSE(metadata(R"({"kind":"browser"})").signalsBrowserActivity());
    EXPECT_FALSE(metadata("{}").signalsBrowserActivity());
}

TEST(ChatRecords, AttachmentPayloadAndBackendIdentity)
{
    const Attachment a = decodeJSON<Attachment>(
        R"({"name":"a.txt","size":12,"mime":"text/plain","text":"hi","key":"k/1","ok":true,"error":"no"})");
    const JSONObject payload = a.chatPayload();
    EXPECT_EQ(
        payload.keys(),
        (QStringList{QStringLiteral("mime"), QStringLiteral("name"), QStringLiteral("size"), QStringLiteral("text")}));
    EXPECT_EQ(payload[QStringLiteral("size")].toNumber(), 12);

    Agent agent;
    agent.id = QStringLiteral("ag1");
    agent.name = QStringLiteral("Ann");
    EXPECT_EQ(ChatBackend::agent(agent).id(), QStringLiteral("ag1"));
    EXPECT_EQ(ChatBackend::team(QStringLiteral("growth"), QStringLiteral("Growth")).id(),
              QStringLiteral("team:growth"));
    EXPECT_NE(ChatBackend::team(QStringLiteral("g"), QStringLiteral("A")),
              ChatBackend::team(QStringLiteral("g"), QStringLiteral("B")));
}
