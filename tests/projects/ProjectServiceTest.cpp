#include "projects/service/ProjectService.h"
#include "core/async/ManualClock.h"
#include "projects/service/ProjectUploader.h"
#include "support/FakeServer.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

const QByteArray kProject = R"({"id":"p1","slug":"apollo","label":"Apollo","brief":"","status":"active"})";

class ProjectServiceTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server, &clock);
    ProjectService projects{t->client};
    const QString path = QStringLiteral("/api/v2/projects/apollo");
    QTemporaryDir dir;

    QUrl file(const QString& name, qsizetype size)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, 'x'));
        return QUrl::fromLocalFile(f.fileName());
    }
};

} // namespace

TEST_F(ProjectServiceTest, SettingsWithoutBudgetSendNull)
{
    server.on("PATCH", path, FakeResponse::json(QByteArray(R"({"ok":true,"project":)") + kProject + "}"));
    const Project p
        = runTask(projects.updateSettings(QStringLiteral("apollo"), QStringLiteral("Apollo"), std::nullopt));
    EXPECT_EQ(p.slug, QStringLiteral("apollo"));
    EXPECT_EQ(server.last().json(),
              JSONValue::parse(R"({"label":"Apollo","settings":{"project_budget_usd_month":null}})"));
    runTask(projects.updateSettings(QStringLiteral("apollo"), QStringLiteral("A"), 12.5));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"label":"A","settings":{"project_budget_usd_month":12.5}})"));
}

TEST_F(ProjectServiceTest, TasksAssigneesAndEventsPaging)
{
    server.on("PATCH", path + QStringLiteral("/tasks/t1"), FakeResponse::json(R"({"tasks":[]})"));
    runTask(projects.assignTask(QStringLiteral("apollo"), QStringLiteral("t1"), std::nullopt));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"assignee_kind":"none"})"));
    runTask(projects.assignTask(QStringLiteral("apollo"), QStringLiteral("t1"),
                                ProjectAssignee{QStringLiteral("team"), QStringLiteral("growth")}));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"assignee_kind":"team","team_slug":"growth"})"));

    server.on("POST", path + QStringLiteral("/tasks"), FakeResponse::json(R"({"tasks":[]})"));
    runTask(projects.addTask(QStringLiteral("apollo"), QStringLiteral("Do it"),
                             ProjectAssignee{QStringLiteral("agent"), QStringLiteral("ag1")}));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"text":"Do it","assignee_kind":"agent","agent_id":"ag1"})"));
    runTask(projects.addTask(QStringLiteral("apollo"), QStringLiteral("Solo"), std::nullopt));
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"text":"Solo"})"));

    server.on("GET", path + QStringLiteral("/events"), FakeResponse::json(R"({"events":[
        {"id":9,"kind":"note","actor_label":"Ann","title":"t","detail":"d","created_at":"c"}]})"));
    const auto first = runTask(projects.events(QStringLiteral("apollo"), std::nullopt));
    EXPECT_TRUE(server.last().query.isEmpty());
    EXPECT_FALSE(first.canPage());
    runTask(projects.events(QStringLiteral("apollo"), 9));
    EXPECT_EQ(server.last().query, (QList<QPair<QString, QString>>{{QStringLiteral("before"), QStringLiteral("9")}}));
}

TEST_F(ProjectServiceTest, MembersOfBothKindsAndMemoryWrites)
{
    server.on("DELETE", path + QStringLiteral("/members/m2"), FakeResponse::json(R"({"members":[
        {"id":"m3","member_kind":"team","note":"","team":{"slug":"g","label":"G","members":[]},"stale":true}]})"));
    const auto left = runTask(projects.removeMember(QStringLiteral("apollo"), QStringLiteral("m2")));
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(left[0].team);
    EXPECT_FALSE(left[0].agent);
    EXPECT_EQ(left[0].stale, true);

    server.on("PUT", path + QStringLiteral("/memory"), FakeResponse::json(R"({"ok":true})"));
    EXPECT_TRUE(runTask(projects.deleteNote(QStringLiteral("apollo"), 4)).isEmpty());
    EXPECT_EQ(server.last().json(), JSONValue::parse(R"({"delete_note_id":4})"));

    server.on("DELETE", path + QStringLiteral("/files"), FakeResponse::json(204, {}));
    runTask(projects.deleteFile(QStringLiteral("apollo"), QStringLiteral("f 1")));
    EXPECT_EQ(server.last().query, (QList<QPair<QString, QString>>{{QStringLiteral("id"), QStringLiteral("f 1")}}));
}

TEST_F(ProjectServiceTest, UploadRefusesLocallyAndPutsLocalFailuresFirst)
{
    server.on("POST", path + QStringLiteral("/files"), FakeResponse::json(R"({"files":[],
        "failed":[{"name":"f0.txt","error":"virus"}]})"));
    QList<QUrl> urls;
    for (int i = 0; i < 21; ++i)
        urls.append(file(QStringLiteral("f%1.txt").arg(i), 1));
    urls.insert(1, urls[0]);                                  // a duplicate is not counted
    urls.insert(2, QUrl(QStringLiteral("https://x.test/a"))); // not a local file
    urls[5] = file(QStringLiteral("big.bin"), ProjectUploader::maxFileBytes + 1);
    urls[6] = QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing.txt")));

    const auto response = runTask(ProjectUploader::upload(urls, QStringLiteral("apollo"), t->client));
    ASSERT_TRUE(response.failed);
    EXPECT_EQ(*response.failed,
              (QList<ProjectUploader::Failed>{
                  {QStringLiteral("Selection"), QStringLiteral("Up to 20 files can be uploaded at once.")},
                  {QStringLiteral("big.bin"), QStringLiteral("File too large (max 10 MB).")},
                  {QStringLiteral("missing.txt"), QStringLiteral("File could not be read.")},
                  {QStringLiteral("f0.txt"), QStringLiteral("virus")}}));
    const RecordedRequest r = server.last();
    const QByteArray type = r.header("content-type");
    ASSERT_TRUE(type.startsWith("multipart/form-data; boundary=hx-"));
    const QByteArray boundary = type.mid(type.indexOf('=') + 1);
    EXPECT_EQ(r.body.count("--" + boundary + "\r\n"), 18);
    EXPECT_TRUE(r.body.endsWith("--" + boundary + "--\r\n"));
    EXPECT_TRUE(r.body.contains("Content-Disposition: form-data; name=\"files\"; filename=\"f0.txt\"\r\n"
                                "Content-Type: text/plain\r\n\r\nx\r\n"));
}

TEST_F(ProjectServiceTest, UploadOfNothingSendsNothingAndNamesCannotBreakHeaders)
{
    const auto response = runTask(ProjectUploader::upload({QUrl::fromLocalFile(dir.filePath(QStringLiteral("nope")))},
                                                          QStringLiteral("apollo"), t->client));
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_EQ(response.failed->size(), 1);
    EXPECT_EQ(ProjectUploader::headerSafeFileName(QStringLiteral("a\"b\r\nc.txt")), QStringLiteral("a%22b%0D%0Ac.txt"));
}
