// halvex-cli as a user runs it, against the real local service: sign-up and sign-in with the
// credentials on standard input, the sidebar's list, a streamed turn, history, an approval and
// signing out.
#include "core/json/JSONValue.h"
#include "support/ServiceProcess.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
    // --json output: one object a line.
    QList<JSONObject> objects() const
    {
        QList<JSONObject> list;
        for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            list.append(JSONValue::parse(line.toUtf8()).toObject());
        return list;
    }
};

class CliEndToEndTest : public ::testing::Test {
protected:
    ServiceProcess service;
    QTemporaryDir home;

    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("HALVEX_SERVICE_BIN"))
            << "end-to-end cases run against the local service";
        ASSERT_TRUE(service.start());
    }

    CliRun cli(QStringList args, const QByteArray& stdinText = {})
    {
        QProcess process;
        QStringList all{QStringLiteral("--service"), service.origin().toString(), QStringLiteral("--cookie-file"),
                        home.filePath(QStringLiteral("cookies"))};
        all += args;
        process.start(QStringLiteral(HALVEX_CLI_BIN), all);
        EXPECT_TRUE(process.waitForStarted(10'000));
        process.write(stdinText);
        process.closeWriteChannel();
        // Only a guard against a hung client; the turns of the local service take milliseconds.
        EXPECT_TRUE(process.waitForFinished(30'000)) << args.join(QLatin1Char(' ')).toStdString();
        CliRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    CliRun signIn()
    {
        const QByteArray credentials
            = (service.demoEmail() + QLatin1Char('\n') + service.demoPassword() + QLatin1Char('\n')).toUtf8();
        return cli({QStringLiteral("signin")}, credentials);
    }

    QString firstAgentId()
    {
        const CliRun list = cli({QStringLiteral("--json"), QStringLiteral("list")});
        EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
        for (const JSONObject& row : list.objects()) {
            const QString id = row.value(QStringLiteral("id")).toString();
            if (!id.startsWith(QLatin1String("team:")) && !id.startsWith(QLatin1String("project:")) && !id.isEmpty())
                return id;
        }
        return {};
    }
};

} // namespace

TEST_F(CliEndToEndTest, SignInListSendHistoryAndSignOut)
{
    EXPECT_EQ(cli({QStringLiteral("whoami")}).exitCode, 3) << "no session yet";
    EXPECT_EQ(cli({QStringLiteral("signin")}).exitCode, 2) << "no credentials on standard input";

    const CliRun in = signIn();
    ASSERT_EQ(in.exitCode, 0) << in.err.toStdString();
    EXPECT_TRUE(in.out.contains(service.demoEmail()));
    EXPECT_FALSE(in.out.contains(service.demoPassword()));
    EXPECT_TRUE(cli({QStringLiteral("whoami")}).out.contains(service.demoEmail()));

    const CliRun list = cli({QStringLiteral("list")});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_TRUE(list.out.contains(QLatin1String("team:"))) << list.out.toStdString();
    const QString agent = firstAgentId();
    ASSERT_FALSE(agent.isEmpty());

    const CliRun turn = cli({QStringLiteral("--json"), QStringLiteral("send"), agent, QStringLiteral("hello there")});
    ASSERT_EQ(turn.exitCode, 0) << turn.err.toStdString();
    QStringList roles;
    bool stepDone = false;
    for (const JSONObject& m : turn.objects()) {
        roles.append(m.value(QStringLiteral("role")).toString());
        if (m.value(QStringLiteral("role")).toString() == QLatin1String("step")
            && m.value(QStringLiteral("metadata"))[QStringLiteral("status")] == JSONValue(QStringLiteral("done")))
            stepDone = true;
    }
    EXPECT_TRUE(roles.contains(QStringLiteral("step"))) << turn.out.toStdString();
    EXPECT_TRUE(roles.contains(QStringLiteral("assistant")));
    EXPECT_TRUE(stepDone) << "steps are printed again when they finish";

    const CliRun history = cli({QStringLiteral("--json"), QStringLiteral("history"), agent});
    ASSERT_EQ(history.exitCode, 0);
    bool sawTurn = false;
    qint64 previous = 0;
    for (const JSONObject& m : history.objects()) {
        const qint64 id = qint64(m.value(QStringLiteral("id")).toNumber());
        EXPECT_GT(id, previous) << "history is in id order, each message once";
        previous = id;
        sawTurn = sawTurn || m.value(QStringLiteral("content")).toString() == QLatin1String("hello there");
    }
    EXPECT_TRUE(sawTurn);

    EXPECT_EQ(cli({QStringLiteral("signout")}).exitCode, 0);
    EXPECT_EQ(cli({QStringLiteral("whoami")}).exitCode, 3);
    EXPECT_EQ(cli({QStringLiteral("list")}).exitCode, 3);
}

TEST_F(CliEndToEndTest, ApprovalIsResolvedAndTheTurnGoesOn)
{
    ASSERT_EQ(signIn().exitCode, 0);
    const QString agent = firstAgentId();
    ASSERT_FALSE(agent.isEmpty());
    const CliRun turn = cli(
        {QStringLiteral("--json"), QStringLiteral("send"), agent, QStringLiteral("please get my approval first")});
    ASSERT_EQ(turn.exitCode, 0) << turn.err.toStdString();
    qint64 approval = 0;
    for (const JSONObject& m : turn.objects())
        if (m.value(QStringLiteral("metadata"))[QStringLiteral("kind")]
            == JSONValue(QStringLiteral("approval_request")))
            approval = qint64(m.value(QStringLiteral("id")).toNumber());
    ASSERT_GT(approval, 0) << turn.out.toStdString();

    const CliRun approved = cli({QStringLiteral("approve"), agent, QString::number(approval)});
    ASSERT_EQ(approved.exitCode, 0) << approved.err.toStdString();
    EXPECT_TRUE(approved.out.contains(QLatin1String("approved"))) << approved.out.toStdString();
    const CliRun again = cli({QStringLiteral("reject"), agent, QString::number(approval)});
    EXPECT_EQ(again.exitCode, 1) << "a resolved approval cannot be decided twice";
    EXPECT_EQ(cli({QStringLiteral("approve"), agent, QStringLiteral("abc")}).exitCode, 2);
}

TEST_F(CliEndToEndTest, SignUpReadsCredentialsFromStandardInput)
{
    const CliRun up = cli({QStringLiteral("--json"), QStringLiteral("signup")},
                          QByteArray("new.person@example.com\nlong-enough-Passw0rd\nNew Person\n"));
    ASSERT_EQ(up.exitCode, 0) << up.err.toStdString();
    ASSERT_EQ(up.objects().size(), 1);
    EXPECT_EQ(up.objects()[0].value(QStringLiteral("email")), JSONValue(QStringLiteral("new.person@example.com")));
    const CliRun who = cli({QStringLiteral("--json"), QStringLiteral("whoami")});
    EXPECT_EQ(who.objects().value(0).value(QStringLiteral("full_name")), JSONValue(QStringLiteral("New Person")));
}

TEST_F(CliEndToEndTest, PlainTextShowsEachStepRunningThenDoneAndTheAnswerOnce)
{
    ASSERT_EQ(signIn().exitCode, 0);
    const QString agent = firstAgentId();
    ASSERT_FALSE(agent.isEmpty());
    const CliRun turn
        = cli({QStringLiteral("send"), agent, QStringLiteral("Please research and compare analytics tools")});
    ASSERT_EQ(turn.exitCode, 0) << turn.err.toStdString();
    const QStringList lines = turn.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const auto count = [&](const QString& part) {
        return std::count_if(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(part); });
    };
    // Three steps run side by side: each is printed when it starts and again when it ends.
    EXPECT_EQ(count(QStringLiteral(" [running]")), 3) << turn.out.toStdString();
    EXPECT_EQ(count(QStringLiteral(" [done]")), 3) << turn.out.toStdString();
    EXPECT_EQ(count(QStringLiteral("Sources: [")), 1) << "the report is printed once, whole";
    const qsizetype lastDone = lines.lastIndexOf(*std::find_if(
        lines.rbegin(), lines.rend(), [](const QString& l) { return l.contains(QLatin1String(" [done]")); }));
    const auto answer = std::find_if(lines.begin(), lines.end(),
                                     [](const QString& l) { return l.contains(QLatin1String("assistant: ")); });
    ASSERT_NE(answer, lines.end());
    EXPECT_LT(lastDone, answer - lines.begin()) << "steps come before the answer";
    EXPECT_TRUE(turn.err.isEmpty()) << turn.err.toStdString();
}

TEST_F(CliEndToEndTest, CreateAnswersItsQuestionsAndHiresAndTheMarketplaceHiresOnce)
{
    ASSERT_EQ(signIn().exitCode, 0);
    EXPECT_EQ(cli({QStringLiteral("create"), QStringLiteral("too short")}).exitCode, 2);

    // "right away": the service answers each round at once. The first option of a question is
    // given by its number; every other question is left to the builder.
    const CliRun draft = cli({QStringLiteral("--json"), QStringLiteral("create"), QStringLiteral("--answer"),
                              QStringLiteral("scope=1"), QStringLiteral("Triage our support inbox, right away")});
    ASSERT_EQ(draft.exitCode, 0) << draft.err.toStdString();
    ASSERT_FALSE(draft.objects().isEmpty());
    EXPECT_EQ(draft.objects().last().value(QStringLiteral("step")), JSONValue(QStringLiteral("review")));

    const CliRun hired = cli({QStringLiteral("--json"), QStringLiteral("create"), QStringLiteral("--skip"),
                              QStringLiteral("--yes"), QStringLiteral("Triage our support inbox, right away")});
    ASSERT_EQ(hired.exitCode, 0) << hired.err.toStdString();
    const QString id = hired.objects().last().value(QStringLiteral("id")).toString();
    ASSERT_FALSE(id.isEmpty());
    EXPECT_TRUE(cli({QStringLiteral("list")}).out.contains(id));

    const CliRun market = cli({QStringLiteral("--json"), QStringLiteral("market"), QStringLiteral("Research")});
    ASSERT_EQ(market.exitCode, 0) << market.err.toStdString();
    ASSERT_FALSE(market.objects().isEmpty());
    for (const JSONObject& row : market.objects())
        EXPECT_EQ(row.value(QStringLiteral("service")), JSONValue(QStringLiteral("Research")));
    const QString offer = market.objects().first().value(QStringLiteral("id")).toString();
    const CliRun first = cli({QStringLiteral("--json"), QStringLiteral("hire"), offer});
    const CliRun second = cli({QStringLiteral("--json"), QStringLiteral("hire"), offer});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(first.objects().last().value(QStringLiteral("id")), second.objects().last().value(QStringLiteral("id")));
}

TEST_F(CliEndToEndTest, AWorkerIsBuiltWithYesThenRunToItsResultWithWait)
{
    ASSERT_EQ(signIn().exitCode, 0);
    EXPECT_EQ(cli({QStringLiteral("worker"), QStringLiteral("build"), QStringLiteral("too short")}).exitCode, 2);
    const CliRun draft = cli({QStringLiteral("worker"), QStringLiteral("build"),
                              QStringLiteral("Read competitor pricing pages and post the changes, right away")});
    ASSERT_EQ(draft.exitCode, 0) << draft.err.toStdString();
    EXPECT_TRUE(draft.out.contains(QStringLiteral("  1. ["))) << draft.out.toStdString();
    EXPECT_TRUE(draft.out.contains(QStringLiteral("--yes")));

    const CliRun built
        = cli({QStringLiteral("--json"), QStringLiteral("--yes"), QStringLiteral("worker"), QStringLiteral("build"),
               QStringLiteral("Read competitor pricing pages and post the changes, right away")});
    ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
    const QString id = built.objects().last().value(QStringLiteral("id")).toString();
    ASSERT_FALSE(id.isEmpty()) << built.out.toStdString();
    EXPECT_TRUE(cli({QStringLiteral("runs"), id}).out.contains(QStringLiteral("No runs yet.")));

    // The service paces steps on its clock: the test moves it while the client follows the run.
    QProcess run;
    run.start(QStringLiteral(HALVEX_CLI_BIN),
              {QStringLiteral("--service"), service.origin().toString(), QStringLiteral("--cookie-file"),
               home.filePath(QStringLiteral("cookies")), QStringLiteral("--wait"), QStringLiteral("worker"),
               QStringLiteral("run"), id});
    ASSERT_TRUE(run.waitForStarted(10'000));
    QByteArray started;
    while (!started.contains("Started run ") && run.waitForReadyRead(30'000))
        started += run.readAllStandardOutput();
    ASSERT_TRUE(started.contains("Started run ")) << started.toStdString();
    // Each clock move answers once the run has caught up; eight moves outlast any drafted playbook.
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(service.advanceClock(3));
    ASSERT_TRUE(run.waitForFinished(30'000));
    const QString out = QString::fromUtf8(started + run.readAllStandardOutput());
    EXPECT_EQ(run.exitCode(), 0) << out.toStdString() << run.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Started run "))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("[done]")) || out.contains(QStringLiteral("[success]")))
        << out.toStdString();

    const CliRun runs = cli({QStringLiteral("--json"), QStringLiteral("runs"), id});
    ASSERT_EQ(runs.exitCode, 0);
    ASSERT_FALSE(runs.objects().isEmpty());
    EXPECT_EQ(runs.objects().first().value(QStringLiteral("status")).toString(), QStringLiteral("success"));
}

TEST_F(CliEndToEndTest, WalletMandateAndTheKillSwitchFromTheTerminal)
{
    ASSERT_EQ(signIn().exitCode, 0);
    const CliRun wallet = cli({QStringLiteral("wallet")});
    ASSERT_EQ(wallet.exitCode, 0) << wallet.err.toStdString();
    EXPECT_TRUE(wallet.out.contains(QStringLiteral("Available tokens: ◆"))) << wallet.out.toStdString();

    const QString agent = firstAgentId();
    ASSERT_FALSE(agent.isEmpty());
    const CliRun set
        = cli({QStringLiteral("--json"), QStringLiteral("--set"), QStringLiteral("af_level=4"), QStringLiteral("--set"),
               QStringLiteral("max_standard_quote_usd=lots"), QStringLiteral("--set"),
               QStringLiteral("allowed_channels=email"), QStringLiteral("mandate"), agent});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const JSONValue mandate = set.objects().last().value(QStringLiteral("mandate"));
    EXPECT_EQ((*mandate["af_level"]).toNumber(), 4);
    EXPECT_TRUE((*(*mandate["financial_authority"])["max_standard_quote_usd"]).isNull())
        << "not a number saves as null";
    EXPECT_EQ(cli({QStringLiteral("--set"), QStringLiteral("af_level=9"), QStringLiteral("mandate"), agent}).exitCode,
              2);
    EXPECT_TRUE(cli({QStringLiteral("--clear"), QStringLiteral("mandate"), agent})
                    .out.contains(QStringLiteral("Mandate cleared — no limits enforced.")));

    EXPECT_TRUE(
        cli({QStringLiteral("freeze"), agent}).out.contains(QStringLiteral("Employee frozen — no new work starts.")));
    const CliRun refused = cli({QStringLiteral("send"), agent, QStringLiteral("Start the report")});
    EXPECT_TRUE(refused.out.contains(QStringLiteral("frozen"))) << refused.out.toStdString();
    EXPECT_TRUE(cli({QStringLiteral("resume"), agent}).out.contains(QStringLiteral("Employee resumed.")));
}

TEST_F(CliEndToEndTest, AFactToldInAChatShowsInTheEmployeesMemory)
{
    ASSERT_EQ(signIn().exitCode, 0);
    const QString agent = firstAgentId();
    ASSERT_EQ(cli({QStringLiteral("send"), agent, QStringLiteral("I prefer short bullet points.")}).exitCode, 0);
    const CliRun memory = cli({QStringLiteral("memory"), agent});
    ASSERT_EQ(memory.exitCode, 0) << memory.err.toStdString();
    EXPECT_TRUE(memory.out.contains(QStringLiteral("Preference — Prefers short bullet points.")))
        << memory.out.toStdString();
}

TEST_F(CliEndToEndTest, ProjectNewAsksTheOpenQuestionsPrintsTheProfileAndCreatesWithYes)
{
    ASSERT_EQ(signIn().exitCode, 0);
    const CliRun refused = cli({QStringLiteral("project"), QStringLiteral("new"), QStringLiteral("--name"),
                                QStringLiteral("!!!"), QStringLiteral("--description"), QStringLiteral("Rebrand")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("no letters or digits"))) << refused.err.toStdString();

    // The site read leaves five questions; the first comes with --answer, the other four are
    // asked at the prompt: an option's number, the user's own words, then numbers again.
    const QStringList intake{
        QStringLiteral("project"),   QStringLiteral("new"),
        QStringLiteral("--name"),    QStringLiteral("Northlight rebrand"),
        QStringLiteral("--website"), service.origin().toString() + QStringLiteral("/demo-sites/design-studio/"),
        QStringLiteral("--answer"),  QStringLiteral("desired_result=2")};
    const QByteArray answers = "1\nThe big London agencies\n1\n1\n";
    const CliRun preview = cli(intake, answers);
    ASSERT_EQ(preview.exitCode, 0) << preview.err.toStdString() << preview.out.toStdString();
    EXPECT_TRUE(preview.out.contains(QStringLiteral("  1. "))) << "each question lists its options by number";
    EXPECT_TRUE(preview.out.contains(QStringLiteral("Address: /project/northlight-rebrand")));
    EXPECT_TRUE(preview.out.contains(QStringLiteral("The big London agencies")));
    EXPECT_TRUE(preview.out.contains(QStringLiteral("Nothing is created yet")));
    EXPECT_FALSE(cli({QStringLiteral("projects")}).out.contains(QStringLiteral("northlight-rebrand")));

    const CliRun created = cli(intake + QStringList{QStringLiteral("--yes")}, answers);
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.contains(QStringLiteral("Created: northlight-rebrand"))) << created.out.toStdString();
    const CliRun shown = cli({QStringLiteral("project"), QStringLiteral("northlight-rebrand")});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains(QStringLiteral("## Competitors and alternatives")));
    EXPECT_TRUE(shown.out.contains(QStringLiteral("The big London agencies")));
    EXPECT_TRUE(shown.out.contains(service.origin().toString() + QStringLiteral("/demo-sites/design-studio/")))
        << "the website is the project's first link";
}
