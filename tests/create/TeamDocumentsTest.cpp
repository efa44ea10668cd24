// What the client writes when it hires: slugs, member documents and the request bodies.
#include "create/model/TeamDocuments.h"
#include "create/model/ClarifyRounds.h"
#include "create/service/CreateAgentService.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/TestClient.h"

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

TeamMemberDraft member(const char* handle, const char* role)
{
    TeamMemberDraft m;
    m.handle = QString::fromUtf8(handle);
    m.role = QString::fromUtf8(role);
    m.out = QStringLiteral("drafts");
    return m;
}

} // namespace

TEST(TeamDocuments, SlugsFoldToLatinOrNothing)
{
    EXPECT_EQ(TeamDocuments::slugify(QStringLiteral("Отдел продаж")), QStringLiteral("otdel-prodazh"));
    EXPECT_EQ(TeamDocuments::rawSlug(QStringLiteral("  Sales & Ops \n")), QStringLiteral("sales-ops"));
    EXPECT_EQ(TeamDocuments::slugify(QStringLiteral("✨ — ✨")), QString());
    EXPECT_EQ(TeamDocuments::dicebearURL(QStringLiteral("Ada Lovelace"), QStringLiteral("http://h/avatars"))
                  .toString(QUrl::FullyEncoded),
              QStringLiteral("http://h/avatars/9.x/notionists/svg?seed=Ada%20Lovelace&backgroundColor=ede9fe"));
}

TEST(TeamDocuments, MemberDocumentsNameTheirTeammatesAndStayBounded)
{
    TeamDraft team;
    team.name = QStringLiteral("Content");
    team.tagline = QStringLiteral("Ship articles");
    team.members = QList<TeamMemberDraft>{member("@writer", "Writer"), member("@editor", "Editor")};
    team.members->last().boundaries = QStringLiteral("no writing");
    const QString md = TeamDocuments::buildWorkerMd(team, team.members->first());
    EXPECT_TRUE(md.startsWith(QStringLiteral("# Role: Writer\n\n## My handle\n@writer")));
    EXPECT_TRUE(md.endsWith(QStringLiteral("  - @editor — Editor (output: drafts; not their job: no writing)")));
    EXPECT_TRUE(TeamDocuments::buildWorkerSystemPrompt(team, team.members->first())
                    .startsWith(QStringLiteral("You are @writer, the Writer in the Content team group chat.")));

    team.summary = QString(9000, QLatin1Char('x'));
    const QString pipeline = TeamDocuments::buildTeamPipelineMd(team);
    EXPECT_TRUE(pipeline.endsWith(QStringLiteral("\n…")));
    EXPECT_EQ(pipeline.size(), TeamDocuments::documentLimit + 2);
}

TEST(CreateBodies, EmployeeAndTeamBodiesFollowTheDraftAndTheBrief)
{
    FakeServer server;
    auto t = makeTestClient(server.origin());
    CreateAgentService service(t->client, QStringLiteral("http://h/avatars"));

    EmployeeRequest request;
    request.name = QStringLiteral("Nova");
    request.brief = QStringLiteral("Пиши письма клиентам каждый день");
    request.agentType = QStringLiteral("employee");
    request.triggerType = QStringLiteral("manual");
    request.draft.skills = QList<GeneratedSkill>{{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
                                                 {QStringLiteral("a"), QStringLiteral("b"), QString()}};
    request.draft.responseLanguage = QStringLiteral("de");
    const JSONObject body = service.employeeBody(request);
    EXPECT_EQ(body.value(QStringLiteral("generated_skills")).toArray().size(), 1)
        << "a skill without content stays out";
    EXPECT_EQ(body.value(QStringLiteral("response_language")), JSONValue(QStringLiteral("ru")));
    EXPECT_EQ(body.value(QStringLiteral("description")), JSONValue(request.brief));
    EXPECT_FALSE(body.contains(QStringLiteral("schedule_interval_minutes")));
    EXPECT_FALSE(body.contains(QStringLiteral("playbook")));

    TeamDraft team;
    team.responseLanguage = QStringLiteral("de");
    team.members = QList<TeamMemberDraft>{member("@writer", "Writer")};
    const JSONObject teamBody
        = service.teamBody(QStringLiteral("Content"), team, QStringLiteral("Тексты"), std::nullopt);
    const JSONObject first = teamBody.value(QStringLiteral("members")).toArray().first().toObject();
    EXPECT_EQ(first.value(QStringLiteral("name")), JSONValue(QStringLiteral("writer-content")));
    EXPECT_TRUE(first.value(QStringLiteral("avatar_url")).toString().contains(QStringLiteral("seed=writer&")));
    EXPECT_EQ(first.value(QStringLiteral("response_language")), JSONValue(QStringLiteral("ru")))
        << "a draft language outside ru, en and mixed yields to the brief";
}

TEST(ClarifyRounds, PagesCaptionsAnswersAndNames)
{
    QList<ClarifyQuestion> five(5), seven(7), three(3);
    auto sizes = [](const QList<QList<ClarifyQuestion>>& pages) {
        QList<qsizetype> out;
        for (const auto& page : pages)
            out << page.size();
        return out;
    };
    EXPECT_EQ(sizes(ClarifyRounds::pages(five)), (QList<qsizetype>{3, 2}));
    EXPECT_EQ(sizes(ClarifyRounds::pages(seven)), (QList<qsizetype>{3, 2, 2}));
    EXPECT_EQ(sizes(ClarifyRounds::pages(three)), (QList<qsizetype>{3}));
    EXPECT_EQ(ClarifyRounds::pageTitle(0, 2, CreateKind::solo), QStringLiteral("Role & scope · 1 of 2"));
    EXPECT_EQ(ClarifyRounds::pageTitle(2, 3, CreateKind::team), QStringLiteral("Delivery & quality · 3 of 3"));
    EXPECT_EQ(ClarifyRounds::pageTitle(5, 3, CreateKind::team), QStringLiteral("A few details"));
    EXPECT_EQ(ClarifyRounds::pageSubtitle(0, 1, CreateKind::team),
              QStringLiteral("Only the decisions that change your team."));

    ClarifyQuestion multi;
    multi.multiSelect = true;
    EXPECT_EQ(ClarifyRounds::answerFor(multi, {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral(" b ")),
              QStringLiteral("a, b"));
    EXPECT_EQ(ClarifyRounds::answerFor(ClarifyQuestion(), {QStringLiteral("a")}, QStringLiteral("typed")),
              QStringLiteral("typed"));

    EXPECT_EQ(ClarifyRounds::identityName(QStringLiteral(" Ada "), QStringLiteral("x")), QStringLiteral("Ada"));
    const QString picked
        = ClarifyRounds::identityName(QStringLiteral("Senior Growth Marketer"), QStringLiteral("brief"));
    EXPECT_EQ(picked, ClarifyRounds::identityName(std::nullopt, QStringLiteral("brief")));
    EXPECT_EQ(ClarifyRounds::identityName(std::nullopt, QString()), QStringLiteral("Arlo"));
    EXPECT_EQ(ClarifyRounds::identityName(std::nullopt, QStringLiteral("Помощник")).size() > 0, true);
    EXPECT_TRUE(ClarifyRounds::hasCyrillic(ClarifyRounds::identityName(std::nullopt, QStringLiteral("Помощник"))));
}
