// The intake's rules without a service: the kept draft, pages of questions, the profile
// document, the name and website checks and the create body.
#include "projects/model/ProjectIntakeRules.h"
#include "core/prefs/Preferences.h"
#include "projects/model/ProjectIntakeDraft.h"
#include "projects/model/ProjectOverviewCodec.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;

namespace {

const QDateTime kNow(QDate(2026, 3, 10), QTime(12, 0), Qt::UTC);

ProjectIntakeDraft sampleDraft()
{
    ProjectIntakeDraft d;
    d.step = QStringLiteral("questions");
    d.label = QStringLiteral("Rosehip & Rye");
    d.website = QStringLiteral("rosehip-rye.example");
    d.description = QStringLiteral("A bakery");
    d.links = QStringLiteral("https://a.example\nhttps://b.example");
    d.source = ProjectIntakeSource{QStringLiteral("read"),
                                   QStringLiteral("https://rosehip-rye.example/"),
                                   QStringLiteral("Rosehip"),
                                   {QStringLiteral("/"), QStringLiteral("/about.html")},
                                   {QStringLiteral("Bakes daily.")},
                                   QStringLiteral("Sourdough."),
                                   QString(),
                                   QStringLiteral("ev-1")};
    d.questions
        = {{QStringLiteral("audience"), QStringLiteral("Who?"), {QStringLiteral("Locals")}, QStringLiteral("h")},
           {QStringLiteral("tone"), QStringLiteral("How?"), {}, std::nullopt}};
    d.questionGroup = 1;
    d.answers = {{QStringLiteral("audience"), QStringLiteral("Locals")}};
    d.overview = ProjectOverview{QStringLiteral("d"), QStringLiteral("p"), QString(), QStringLiteral("c"), QString()};
    d.needsInput = {QStringLiteral("desired_result")};
    d.dirtyFields = {QStringLiteral("competitors"), QStringLiteral("description")};
    d.creationRequestID = QStringLiteral("11111111-2222-3333-4444-555555555555");
    return d;
}

class DraftStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Preferences prefs{dir.filePath(QStringLiteral("p.ini"))};

    bool kept() const { return !prefs.value(ProjectIntakeDraftStore::key).toString().isEmpty(); }
    // A saved draft with one key of its JSON replaced.
    void storeEdited(const QString& key, const JSONValue& value)
    {
        JSONObject o = sampleDraft().encode();
        o.insert(key, value);
        prefs.setValue(ProjectIntakeDraftStore::key, QString::fromUtf8(encodeJSONObject(o)));
    }
};

} // namespace

TEST_F(DraftStoreTest, ADraftComesBackWhole)
{
    ProjectIntakeDraftStore::save(sampleDraft(), prefs, kNow.addSecs(-3600));
    const auto loaded = ProjectIntakeDraftStore::load(prefs, kNow);
    ASSERT_TRUE(loaded);
    ProjectIntakeDraft expected = sampleDraft();
    expected.updatedAt = kNow.addSecs(-3600);
    EXPECT_EQ(*loaded, expected);
    // Six days and a bit is still within the week.
    EXPECT_TRUE(ProjectIntakeDraftStore::load(prefs, kNow.addDays(6)));
}

TEST_F(DraftStoreTest, OldFutureOtherSchemaAndBrokenDraftsAreRemoved)
{
    ProjectIntakeDraftStore::save(sampleDraft(), prefs, kNow.addDays(-8));
    EXPECT_FALSE(ProjectIntakeDraftStore::load(prefs, kNow));
    EXPECT_FALSE(kept()) << "an expired draft's key is removed";

    ProjectIntakeDraftStore::save(sampleDraft(), prefs, kNow.addSecs(-ProjectIntakeDraftStore::maxAgeSeconds));
    EXPECT_TRUE(ProjectIntakeDraftStore::load(prefs, kNow)) << "exactly seven days is not over seven days";

    ProjectIntakeDraftStore::save(sampleDraft(), prefs, kNow.addSecs(1));
    EXPECT_FALSE(ProjectIntakeDraftStore::load(prefs, kNow));
    EXPECT_FALSE(kept()) << "a draft from the future is removed";

    storeEdited(QStringLiteral("schemaVersion"), 2);
    EXPECT_FALSE(ProjectIntakeDraftStore::load(prefs, kNow));
    EXPECT_FALSE(kept());

    storeEdited(QStringLiteral("step"), QStringLiteral("somewhere"));
    EXPECT_FALSE(ProjectIntakeDraftStore::load(prefs, kNow));
    EXPECT_FALSE(kept());

    prefs.setValue(ProjectIntakeDraftStore::key, QStringLiteral("{not json"));
    EXPECT_FALSE(ProjectIntakeDraftStore::load(prefs, kNow));
    EXPECT_FALSE(kept());
}

TEST(ProjectIntakeRulesTest, QuestionsArePagedByThree)
{
    QList<ProjectIntakeQuestion> seven;
    for (int i = 0; i < 7; ++i)
        seven.append({QString::number(i), QStringLiteral("Q"), {}, std::nullopt});
    const auto pages = ProjectIntakeQuestionGroups::split(seven);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0].size(), 3);
    EXPECT_EQ(pages[1].size(), 3);
    ASSERT_EQ(pages[2].size(), 1);
    EXPECT_EQ(pages[1][0].key, QStringLiteral("3"));
    EXPECT_EQ(pages[2][0].key, QStringLiteral("6"));
    EXPECT_EQ(ProjectIntakeQuestionGroups::split(seven.mid(0, 6)).size(), 2);
    EXPECT_TRUE(ProjectIntakeQuestionGroups::split({}).isEmpty());
}

TEST(ProjectIntakeRulesTest, TheProfileDocumentKeepsEveryBlockAndReadsBack)
{
    const ProjectOverview overview{QStringLiteral("Not in the document"), QStringLiteral("  Bread for Leeds.  "),
                                   QStringLiteral("More wholesale.\n\n## Later\nA café line."), QString(),
                                   QStringLiteral("Open six days.")};
    const QString doc = ProjectOverviewCodec::serialize(overview);
    EXPECT_TRUE(doc.startsWith(QStringLiteral("<!-- tessal:project-overview:v1 -->\n\n")));
    EXPECT_FALSE(doc.contains(QStringLiteral("Not in the document")));
    EXPECT_TRUE(doc.contains(QStringLiteral("<!-- tessal:field:product_audience:start -->\n## Product and "
                                            "audience\nBread for Leeds.\n<!-- tessal:field:product_audience:end -->")));
    // An empty field keeps its block, without a value line.
    EXPECT_TRUE(doc.contains(QStringLiteral("\n\n<!-- tessal:field:competitors:start -->\n## Competitors and "
                                            "alternatives\n<!-- tessal:field:competitors:end -->\n\n")));

    const QString brief = QStringLiteral("A bakery.\n\n") + doc;
    const ProjectOverview back = ProjectOverviewCodec::parse(brief, ProjectOverviewCodec::descriptionOf(brief));
    EXPECT_EQ(back.description, QStringLiteral("A bakery."));
    EXPECT_EQ(back.productAudience, QStringLiteral("Bread for Leeds."));
    EXPECT_EQ(back.desiredResult, QStringLiteral("More wholesale.\n\n## Later\nA café line."));
    EXPECT_EQ(back.competitors, QString());
    EXPECT_EQ(back.constraints, QStringLiteral("Open six days."));
    EXPECT_EQ(ProjectOverviewCodec::parse(QStringLiteral("plain brief"), QStringLiteral("x")),
              (ProjectOverview{QStringLiteral("x"), {}, {}, {}, {}}));
}

TEST(ProjectIntakeRulesTest, NamesWebsitesAndLinks)
{
    EXPECT_EQ(ProjectIntakeRules::validateName(QStringLiteral("   ")),
              QStringLiteral("Give the project a name — it becomes its address and its label in every chat."));
    const QString noSlug
        = QStringLiteral("This name has no letters or digits to build an address from — add a word to it.");
    EXPECT_EQ(ProjectIntakeRules::validateName(QStringLiteral("★ — !!")), noSlug);
    EXPECT_EQ(ProjectIntakeRules::validateName(QStringLiteral("Group")), noSlug);
    EXPECT_EQ(ProjectIntakeRules::validateName(QStringLiteral("Rosehip & Rye")), std::nullopt);
    EXPECT_EQ(ProjectIntakeRules::addressPreview(QStringLiteral("Rosehip & Rye")),
              QStringLiteral("Address: /project/rosehip-rye"));
    EXPECT_EQ(ProjectIntakeRules::addressPreview(QStringLiteral("!!")),
              QStringLiteral("Add a letter or digit — the address is built from the name."));

    const auto site = [](const char* text) {
        const auto url = ProjectIntakeRules::normalisedWebsite(QString::fromUtf8(text));
        return url ? url->toString() : QStringLiteral("none");
    };
    EXPECT_EQ(site(" rosehip-rye.example "), QStringLiteral("https://rosehip-rye.example"));
    EXPECT_EQ(site("http://127.0.0.1:8080/demo-sites/bakery/"),
              QStringLiteral("http://127.0.0.1:8080/demo-sites/bakery/"));
    EXPECT_EQ(site("localhost:8080/x"), QStringLiteral("https://localhost:8080/x"));
    EXPECT_EQ(site("ftp://files.example"), QStringLiteral("none"));
    EXPECT_EQ(site("mailto:shop@example.com"), QStringLiteral("none"));
    EXPECT_EQ(site("https://"), QStringLiteral("none"));
    EXPECT_EQ(site(""), QStringLiteral("none"));

    EXPECT_EQ(ProjectIntakeRules::links(QStringLiteral("rosehip-rye.example"),
                                        QStringLiteral(" https://b.example \nnot a link\nftp://c\n\nhttp://d.example")),
              (QStringList{QStringLiteral("https://rosehip-rye.example"), QStringLiteral("https://b.example"),
                           QStringLiteral("http://d.example")}));
    EXPECT_EQ(ProjectIntakeRules::tooManyFiles(), QStringLiteral("You can add up to 20 files at once."));
}

TEST(ProjectIntakeRulesTest, TheCreateBodySendsEvidenceOnlyWithAToken)
{
    const ProjectOverview overview{QStringLiteral("Desc"), QStringLiteral("P"), QStringLiteral("R"), QString(),
                                   QStringLiteral("C")};
    ProjectIntakeSource source = *sampleDraft().source;
    const JSONObject body
        = ProjectIntakePayload::createBody(QStringLiteral("Rye"), overview, QStringLiteral("req-1"), source);
    EXPECT_EQ(JSONValue(body), JSONValue::parse(R"({"label":"Rye","brief":"Desc","creation_request_id":"req-1",
        "overview":{"description":"Desc","product_audience":"P","desired_result":"R","competitors":"","constraints":"C"},
        "site_evidence":{"status":"read","canonical_url":"https://rosehip-rye.example/","title":"Rosehip",
          "pages":["/","/about.html"],"facts":["Bakes daily."],"digest":"Sourdough.","warning":"","token":"ev-1"}})"));
    source.token = QString();
    EXPECT_FALSE(ProjectIntakePayload::createBody(QStringLiteral("Rye"), overview, QStringLiteral("r"), source)
                     .contains(QStringLiteral("site_evidence")));
    EXPECT_FALSE(ProjectIntakePayload::createBody(QStringLiteral("Rye"), overview, QStringLiteral("r"), std::nullopt)
                     .contains(QStringLiteral("site_evidence")));
}

TEST(ProjectIntakeRulesTest, ProfileLimitsCountUtf16Units)
{
    ProjectOverview overview;
    overview.description = QString(4000, QLatin1Char('a'));
    EXPECT_EQ(ProjectIntakeRules::profileTooLong(overview), std::nullopt);
    overview.description += QLatin1Char('a');
    EXPECT_EQ(ProjectIntakeRules::profileTooLong(overview),
              QStringLiteral("The project profile is too long. Shorten the Description or context fields."));
    // 2,000 characters outside the basic plane are 4,000 units: the limit, not under it.
    overview.description = QString::fromUcs4(std::u32string(2000, U'𝔅').c_str()) + QLatin1Char('x');
    EXPECT_TRUE(ProjectIntakeRules::profileTooLong(overview));
    overview.description.clear();
    overview.constraints = QString(7900, QLatin1Char('c'));
    EXPECT_TRUE(ProjectIntakeRules::profileTooLong(overview)) << "the document with its markers passes 8,000";
}
