// The intake flow against a scripted service: what it refuses before sending anything, the
// question pages, the profile and its refresh, creation with its materials, and the draft.
#include "projects/viewmodel/ProjectIntakeModel.h"
#include "core/async/ManualClock.h"
#include "core/prefs/Preferences.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QString kIntake = QStringLiteral("/api/v2/projects/intake");
const QString kProjects = QStringLiteral("/api/v2/projects");
const QByteArray kSource = R"({"status":"read","canonical_url":"https://rosehip-rye.example/","title":"Rosehip",
    "pages":["/"],"facts":["Bakes daily."],"digest":"Sourdough.","warning":"","token":"ev-7"})";

QByteArray questionsAnswer(int count)
{
    QByteArray list;
    for (int i = 0; i < count; ++i)
        list += (i ? "," : "") + QByteArray(R"({"key":"q)") + QByteArray::number(i)
            + R"(","question":"Question?","options":["One","Two"]})";
    return R"({"ok":true,"language":"en","source":)" + kSource + R"(,"questions":[)" + list + "]}";
}

QByteArray overviewAnswer(const char* suffix)
{
    const QByteArray s(suffix);
    return R"({"ok":true,"language":"en","needs_input":["competitors"],"overview":{"description":"Desc )" + s
        + R"(","product_audience":"Audience )" + s + R"(","desired_result":"Result )" + s
        + R"(","competitors":"","constraints":"Limits )" + s + R"("}})";
}

const QByteArray kCreated = R"({"ok":true,"project":{"id":"p1","slug":"rosehip-rye","label":"Rosehip & Rye",
    "brief":"","status":"active"}})";

class ProjectIntakeModelTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    QTemporaryDir dir;
    Preferences prefs{dir.filePath(QStringLiteral("p.ini"))};
    ProjectIntakeModel model{t->client, clock, &prefs, nullptr};

    void fillAbout()
    {
        model.setLabel(QStringLiteral("Rosehip & Rye"));
        model.setWebsite(QStringLiteral("rosehip-rye.example"));
        model.setDescription(QStringLiteral("  A sourdough bakery.  "));
    }
    // About, analysed into `count` questions, each page answered with its first option.
    void reachReview(int count)
    {
        fillAbout();
        server.on("POST", kIntake, [count](const RecordedRequest& r) {
            const bool questions = r.jsonObject().value(QStringLiteral("stage")).toString() == u"questions";
            return FakeResponse::json(questions ? questionsAnswer(count) : overviewAnswer("one"));
        });
        runTask(model.analyse());
        while (model.step() == ProjectIntakeStep::questions && !model.error()) {
            for (const ProjectIntakeQuestion& q : model.currentPage())
                model.choose(q.key, q.options.first());
            runTask(model.advanceQuestions());
        }
        ASSERT_EQ(model.step(), ProjectIntakeStep::review) << model.error().value_or(QString()).toStdString();
    }
    QList<RecordedRequest> sent(const QByteArray& method, const QString& path) const
    {
        QList<RecordedRequest> out;
        for (const RecordedRequest& r : server.requests())
            if (r.method == method && r.path == path)
                out << r;
        return out;
    }
};

} // namespace

TEST_F(ProjectIntakeModelTest, RefusesBeforeAnyCall)
{
    model.setLabel(QStringLiteral("★★★ !!!"));
    model.setDescription(QStringLiteral("Something"));
    runTask(model.analyse());
    EXPECT_EQ(model.error(),
              QStringLiteral("This name has no letters or digits to build an address from — add a word to it."));
    model.fillManually();
    EXPECT_EQ(model.step(), ProjectIntakeStep::about);

    model.setLabel(QStringLiteral("Rye"));
    model.setDescription(QStringLiteral("   "));
    model.setWebsite(QStringLiteral("ftp://not-a-site.example"));
    runTask(model.analyse());
    EXPECT_EQ(model.error(), QStringLiteral("Add a website or a short description, or choose Fill manually."));
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_FALSE(model.isBusy());
}

TEST_F(ProjectIntakeModelTest, AnalyseSendsTheSourcesAndPagesTheQuestions)
{
    fillAbout();
    server.on("POST", kIntake, FakeResponse::json(questionsAnswer(7)));
    runTask(model.analyse());
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"stage":"questions","label":"Rosehip & Rye",
        "website_url":"https://rosehip-rye.example","description":"A sourdough bakery."})"));
    ASSERT_EQ(model.step(), ProjectIntakeStep::questions);
    EXPECT_EQ(model.pageCount(), 3);
    EXPECT_EQ(model.source()->token, QStringLiteral("ev-7"));

    runTask(model.advanceQuestions());
    EXPECT_EQ(model.error(), QStringLiteral("Choose an option or type an answer for each question."));
    EXPECT_EQ(model.questionGroup(), 0);
    model.choose(QStringLiteral("q0"), QStringLiteral("One"));
    model.choose(QStringLiteral("q1"), QStringLiteral("Two"));
    model.type(QStringLiteral("q1"), QStringLiteral("  Our own words "));
    model.type(QStringLiteral("q2"), QStringLiteral("Typed only"));
    runTask(model.advanceQuestions());
    EXPECT_EQ(model.questionGroup(), 1);
    EXPECT_EQ(model.error(), std::nullopt);
    // The page change was kept: a restart resumes on the second page with the answers.
    const auto kept = ProjectIntakeDraftStore::load(prefs, clock.now());
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->step, QStringLiteral("questions"));
    EXPECT_EQ(kept->questionGroup, 1);
    EXPECT_EQ(kept->answers.value(QStringLiteral("q1")), QStringLiteral("Our own words"));

    model.back();
    EXPECT_EQ(model.questionGroup(), 0);
    model.back();
    EXPECT_EQ(model.step(), ProjectIntakeStep::about);
}

TEST_F(ProjectIntakeModelTest, NoQuestionsStaysOnAboutAndAFailureKeepsTheStep)
{
    fillAbout();
    server.enqueue("POST", kIntake, FakeResponse::json(questionsAnswer(0)));
    server.enqueue("POST", kIntake, FakeResponse::json(500, R"({"error":"Reading failed"})"));
    runTask(model.analyse());
    EXPECT_EQ(model.error(), QStringLiteral("No intake questions were returned — try again."));
    EXPECT_EQ(model.step(), ProjectIntakeStep::about);
    runTask(model.analyse());
    EXPECT_EQ(model.step(), ProjectIntakeStep::about);
    EXPECT_FALSE(model.isBusy());
    EXPECT_EQ(model.phase(), ProjectIntakePhase::none);
    EXPECT_TRUE(model.error()->contains(QStringLiteral("Reading failed")));
    EXPECT_EQ(model.label(), QStringLiteral("Rosehip & Rye"));
}

TEST_F(ProjectIntakeModelTest, IntakeCallsWaitNinetySecondsAndShowTheirProgress)
{
    fillAbout();
    server.on("POST", kIntake, FakeResponse::held(FakeResponse::json(questionsAnswer(5))));
    auto task = model.analyse();
    ASSERT_TRUE(processUntil([&] { return server.heldCount() == 1; }));
    EXPECT_TRUE(model.isBusy());
    const ProjectIntakeProgress progress = model.progress();
    EXPECT_EQ(progress.headline, QStringLiteral("Preparing focused questions"));
    EXPECT_EQ(progress.status,
              QStringLiteral("Public website + your description. Nothing is created until you "
                             "confirm Review."));
    ASSERT_EQ(progress.checklist.size(), 3);
    EXPECT_EQ(progress.checklist[0].title, QStringLiteral("Read the public website"));
    clock.advance(60'000);
    drainEvents();
    EXPECT_TRUE(model.isBusy()) << "the usual 60 seconds do not apply to intake";
    clock.advance(30'000);
    runTask(std::move(task));
    EXPECT_FALSE(model.isBusy());
    EXPECT_EQ(model.error(), QStringLiteral("The request timed out."));
    EXPECT_EQ(model.step(), ProjectIntakeStep::about);
}

TEST_F(ProjectIntakeModelTest, RefreshKeepsEditedFieldsAndRebuildingReplacesThem)
{
    reachReview(4);
    const RecordedRequest overviewCall = sent("POST", kIntake).last();
    const JSONObject body = overviewCall.jsonObject();
    EXPECT_EQ(body.value(QStringLiteral("stage")), JSONValue(QStringLiteral("overview")));
    EXPECT_EQ(body.value(QStringLiteral("source")).toObject().value(QStringLiteral("token")),
              JSONValue(QStringLiteral("ev-7")));
    EXPECT_EQ(body.value(QStringLiteral("answers")).toArray().size(), 4);
    EXPECT_EQ(model.overview()->desiredResult, QStringLiteral("Result one"));
    EXPECT_EQ(model.needsInput(), QStringList{QStringLiteral("competitors")});

    model.setField(QStringLiteral("competitors"), QStringLiteral("Supermarkets, mine"));
    model.setField(QStringLiteral("description"), QStringLiteral("My words"));
    server.on("POST", kIntake, FakeResponse::json(overviewAnswer("two")));
    runTask(model.refreshSuggestions());
    EXPECT_EQ(model.overview()->competitors, QStringLiteral("Supermarkets, mine"));
    EXPECT_EQ(model.overview()->description, QStringLiteral("My words"));
    EXPECT_EQ(model.overview()->desiredResult, QStringLiteral("Result two"));
    EXPECT_EQ(model.dirtyFields(), (QSet<QString>{QStringLiteral("competitors"), QStringLiteral("description")}));

    // Answering the questions again writes the profile anew.
    model.back();
    ASSERT_EQ(model.step(), ProjectIntakeStep::questions);
    runTask(model.advanceQuestions());
    EXPECT_EQ(model.overview()->competitors, QString());
    EXPECT_TRUE(model.dirtyFields().isEmpty());
}

TEST_F(ProjectIntakeModelTest, ATooLongDescriptionBlocksCreation)
{
    model.setLabel(QStringLiteral("Rye"));
    model.setDescription(QStringLiteral("short"));
    model.fillManually();
    ASSERT_EQ(model.step(), ProjectIntakeStep::review);
    EXPECT_EQ(model.overview()->description, QStringLiteral("short"));
    model.setField(QStringLiteral("description"), QString(4001, QLatin1Char('x')));
    runTask(model.create());
    EXPECT_EQ(model.error(),
              QStringLiteral("The project profile is too long. Shorten the Description or context fields."));
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_EQ(model.step(), ProjectIntakeStep::review);
}

TEST_F(ProjectIntakeModelTest, ARetriedCreateSendsTheSameRequestIdThenMaterialsAndTheDraftGoes)
{
    reachReview(2);
    model.setLinksText(QStringLiteral("https://menu.example\nnot a link"));
    QFile file(dir.filePath(QStringLiteral("menu.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("bread");
    file.close();
    model.addFiles({QUrl::fromLocalFile(file.fileName())});

    server.enqueue("POST", kProjects, FakeResponse::json(502, R"({"error":"Bad gateway"})"));
    server.on("POST", kProjects, FakeResponse::json(201, kCreated));
    server.on("POST", kProjects + QStringLiteral("/rosehip-rye/files"), [](const RecordedRequest& r) {
        // Links are refused; the upload lands.
        return r.header("content-type").startsWith("multipart/") ? FakeResponse::json(R"({"files":[]})")
                                                                 : FakeResponse::json(500, R"({"error":"links down"})");
    });
    runTask(model.create());
    EXPECT_EQ(model.step(), ProjectIntakeStep::review);
    EXPECT_TRUE(model.error()->contains(QStringLiteral("Bad gateway")));
    const QString requestId = model.creationRequestID();
    runTask(model.create());
    ASSERT_EQ(model.step(), ProjectIntakeStep::people) << model.error().value_or(QString()).toStdString();

    const QList<RecordedRequest> creates = sent("POST", kProjects);
    ASSERT_EQ(creates.size(), 2);
    for (const RecordedRequest& r : creates)
        EXPECT_EQ(r.jsonObject().value(QStringLiteral("creation_request_id")), JSONValue(requestId));
    EXPECT_EQ(creates[1].jsonObject().value(QStringLiteral("site_evidence")).toObject().value(QStringLiteral("token")),
              JSONValue(QStringLiteral("ev-7")));
    const QList<RecordedRequest> files = sent("POST", kProjects + QStringLiteral("/rosehip-rye/files"));
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0].json(), JSONValue::parse(R"({"links":["https://rosehip-rye.example","https://menu.example"]})"));
    EXPECT_TRUE(files[1].body.contains("bread"));
    EXPECT_EQ(model.warnings(), QStringList{QStringLiteral("Links were not saved.")});
    EXPECT_EQ(model.created()->slug, QStringLiteral("rosehip-rye"));
    EXPECT_NE(model.creationRequestID(), requestId) << "the next intake is a new project";
    EXPECT_FALSE(ProjectIntakeDraftStore::load(prefs, clock.now())) << "the draft is gone once the project exists";
}

TEST_F(ProjectIntakeModelTest, AnOpenedIntakeResumesItsDraft)
{
    reachReview(5);
    model.setField(QStringLiteral("constraints"), QStringLiteral("Weekends only"));
    model.saveDraft();
    clock.advance(3 * 24 * 3600 * 1000LL);

    ProjectIntakeModel reopened(t->client, clock, &prefs, nullptr);
    reopened.restore();
    EXPECT_EQ(reopened.step(), ProjectIntakeStep::review);
    EXPECT_EQ(reopened.label(), QStringLiteral("Rosehip & Rye"));
    EXPECT_EQ(reopened.questions().size(), 5);
    EXPECT_EQ(reopened.chosen(QStringLiteral("q4")), QStringLiteral("One"));
    EXPECT_EQ(reopened.overview()->constraints, QStringLiteral("Weekends only"));
    EXPECT_TRUE(reopened.dirtyFields().contains(QStringLiteral("constraints")));
    EXPECT_EQ(reopened.creationRequestID(), model.creationRequestID());

    clock.advance(5 * 24 * 3600 * 1000LL);
    ProjectIntakeModel late(t->client, clock, &prefs, nullptr);
    late.restore();
    EXPECT_EQ(late.step(), ProjectIntakeStep::about);
    EXPECT_TRUE(late.label().isEmpty()) << "a draft older than a week is not restored";
}

TEST_F(ProjectIntakeModelTest, AtMostTwentyFiles)
{
    QList<QUrl> files;
    for (int i = 0; i < 22; ++i)
        files << QUrl::fromLocalFile(dir.filePath(QStringLiteral("f%1.txt").arg(i)));
    files << files.first() << QUrl(QStringLiteral("https://example.com/remote.pdf"));
    model.addFiles(files.mid(0, 5) + files.mid(0, 2));
    EXPECT_EQ(model.files().size(), 5);
    EXPECT_TRUE(model.filesNotice().isEmpty());
    model.addFiles(files);
    EXPECT_EQ(model.files().size(), 20);
    EXPECT_EQ(model.filesNotice(), QStringLiteral("You can add up to 20 files at once."));
    model.removeFile(0);
    EXPECT_EQ(model.files().size(), 19);
    EXPECT_TRUE(model.filesNotice().isEmpty());
}
