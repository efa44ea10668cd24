#include "chat/viewmodel/presentation/MetadataLinks.h"
#include "chat/viewmodel/presentation/ArtifactExtraction.h"
#include "chat/viewmodel/presentation/StepWording.h"

#include <gtest/gtest.h>

using namespace halvex;

namespace {
JSONObject object(const QByteArray& json) { return JSONValue::parse(json).toObject(); }
} // namespace

TEST(FirstSafeURL, RefusesEverySchemeButHttpAndHttps)
{
    for (const char* bad :
         {"javascript:alert(1)", "JAVASCRIPT:alert(1)", " data:text/html,<b>x</b>", "file:///etc/passwd",
          "mailto:a@b.c", "ftp://host/x", "//host/path", "/relative/path", "http:/nohost", "vbscript:x"}) {
        const QByteArray json = QByteArray(R"({"url":")") + bad + "\"}";
        EXPECT_FALSE(MetadataLinks::firstSafeURL(object(json))) << bad;
    }
    EXPECT_EQ(MetadataLinks::firstSafeURL(object(R"({"url":" HTTPS://Example.com/a "})"))->host(),
              QStringLiteral("example.com"));
    // A refused address does not stop the search.
    EXPECT_EQ(MetadataLinks::firstSafeURL(object(R"({"url":"javascript:x","href":"http://ok.example"})")),
              QUrl(QStringLiteral("http://ok.example")));
    EXPECT_EQ(MetadataLinks::firstSafeURL(object(R"({"result":"https://r.example/p"})")),
              QUrl(QStringLiteral("https://r.example/p")));
    EXPECT_EQ(MetadataLinks::firstSafeURL(object(R"({"result":{"href":"https://r.example/q"}})")),
              QUrl(QStringLiteral("https://r.example/q")));
    EXPECT_FALSE(MetadataLinks::firstSafeURL(object(R"({"result":{"result":{"url":"https://deep.example"}}})")));
    EXPECT_EQ(MetadataLinks::prettyURLLabel(QUrl(QStringLiteral("https://www.news.example/x"))),
              QStringLiteral("news.example"));
}

TEST(ArtifactFromMetadata, FirstPresentObjectWithTypeAndNameDefaults)
{
    const auto site = ArtifactExtraction::artifact(MessageMetadata::fromJSON(JSONValue::parse(
        R"({"link":{"url":"https://l.example"},"site":{"url":"https://s.example","workspace_id":"w1"}})")));
    ASSERT_TRUE(site);
    EXPECT_EQ(site->type, QStringLiteral("site"));
    EXPECT_EQ(site->name, QStringLiteral("Website"));
    EXPECT_TRUE(ArtifactExtraction::hasDestination(*site));

    const auto note
        = ArtifactExtraction::artifact(MessageMetadata::fromJSON(JSONValue::parse(R"({"note":{"id":"n1"}})")));
    ASSERT_TRUE(note);
    EXPECT_FALSE(ArtifactExtraction::hasDestination(*note));
    EXPECT_FALSE(
        ArtifactExtraction::artifact(MessageMetadata::fromJSON(JSONValue::parse(R"({"image":{},"video":"v"})"))));
    EXPECT_EQ(ArtifactExtraction::artifactIcon(QStringLiteral("spreadsheet")), QStringLiteral("doc.text"));
}

TEST(GoalStepCopy, ReadsEachProgressLine)
{
    struct Case {
        const char* line;
        const char* icon;
        const char* title;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"Searching the web: b2b leads", "magnifyingglass", "Searched the web: b2b leads"},
             {"Searching the web:", "magnifyingglass", "Searched the web: (query hidden)"},
             {"Browsing: acme.com", "globe", "Opened acme.com"},
             {"Fetching:", "arrow.down.circle", "Fetched a remote resource"},
             {"Fetching: https://api.example/x", "arrow.down.circle", "Fetched https://api.example/x"},
             {"Sending email to ann@acme.com", "envelope.fill", "Sending email to ann@acme.com"},
             {"Calling app integration: HubSpot", "puzzlepiece.extension.fill", "Called HubSpot"},
             {"Running lead scoring", "gearshape.fill", "Ran lead scoring"},
             {"Now navigate to pricing", "globe", "Opened a web page"},
             {"Deep search for owners", "magnifyingglass", "Searched the web"},
             {"Thinking", "gearshape.fill", "Working"},
         }) {
        const StepCopy copy = StepWording::goalStepCopy(QString::fromUtf8(c.line));
        EXPECT_EQ(copy.icon, QString::fromUtf8(c.icon)) << c.line;
        EXPECT_EQ(copy.title, QString::fromUtf8(c.title)) << c.line;
    }
}
