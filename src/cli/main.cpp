// halvex-cli: the client's view models driven from a terminal.
#include "cli/CliCommands.h"
#include "core/Config.h"
#include "core/net/PersistentCookieJar.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

using namespace halvex;

namespace {

QCoro::Task<void> run(cli::CliContext& context, QString command, QStringList args)
{
    const int code = co_await cli::runCommand(context, command, args);
    QCoreApplication::exit(code);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("halvex-cli"));
    QCommandLineParser parser;
    parser.setApplicationDescription(cli::usageText());
    parser.addHelpOption();
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Machine-readable output, one JSON object a line."));
    const QCommandLineOption service(QStringLiteral("service"), QStringLiteral("Service origin."),
                                     QStringLiteral("URL"), Config::baseURL());
    const QCommandLineOption cookieFile(QStringLiteral("cookie-file"), QStringLiteral("Where the session is kept."),
                                        QStringLiteral("PATH"),
                                        QDir::home().filePath(QStringLiteral(".halvex-cli-cookies")));
    const QCommandLineOption timeout(QStringLiteral("timeout"), QStringLiteral("Seconds to wait for a turn."),
                                     QStringLiteral("SECONDS"), QStringLiteral("300"));
    const QCommandLineOption team(QStringLiteral("team"), QStringLiteral("create: a team."));
    const QCommandLineOption worker(QStringLiteral("worker"), QStringLiteral("create: a worker."));
    const QCommandLineOption skip(QStringLiteral("skip"),
                                  QStringLiteral("create: let the builder decide the questions."));
    const QCommandLineOption yes(QStringLiteral("yes"), QStringLiteral("create: hire the ready draft."));
    const QCommandLineOption answer(QStringLiteral("answer"), QStringLiteral("create: an answer, question-key=text."),
                                    QStringLiteral("KEY=TEXT"));
    const QCommandLineOption wait(QStringLiteral("wait"), QStringLiteral("worker run: follow the run to its end."));
    const QCommandLineOption set(QStringLiteral("set"), QStringLiteral("mandate: a change, key=value."),
                                 QStringLiteral("KEY=VALUE"));
    const QCommandLineOption clear(QStringLiteral("clear"), QStringLiteral("mandate: remove it."));
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("project new: its name."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption website(QStringLiteral("website"), QStringLiteral("project new: its public website."),
                                     QStringLiteral("URL"));
    const QCommandLineOption description(QStringLiteral("description"),
                                         QStringLiteral("project new: a short description."), QStringLiteral("TEXT"));
    const QCommandLineOption manual(QStringLiteral("manual"), QStringLiteral("project new: skip the questions."));
    parser.addOptions({json, service, cookieFile, timeout, team, worker, skip, yes, answer, wait, set, clear});
    parser.addOptions({name, website, description, manual});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do."));
    parser.process(app);

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        std::fprintf(stderr, "%s\n", cli::usageText().toUtf8().constData());
        return cli::usage;
    }
    const QUrl origin(parser.value(service));
    if (!origin.isValid() || (origin.scheme() != QLatin1String("http") && origin.scheme() != QLatin1String("https"))) {
        std::fprintf(stderr, "halvex-cli: --service needs an http or https address\n");
        return cli::usage;
    }
    PersistentCookieJar jar(parser.value(cookieFile));
    APIClient api(origin, &jar, &Clock::system());
    cli::CliContext context{api, Clock::system(), cli::CliOutput(parser.isSet(json))};
    context.turnTimeoutMs = qMax(1LL, parser.value(timeout).toLongLong()) * 1000;
    context.options = {parser.isSet(team),    parser.isSet(worker),  parser.isSet(skip),        parser.isSet(yes),
                       parser.values(answer), parser.isSet(wait),    parser.values(set),        parser.isSet(clear),
                       parser.value(name),    parser.value(website), parser.value(description), parser.isSet(manual)};
    const QString command = positional.takeFirst();
    QTimer::singleShot(0, &app, [&] { run(context, command, positional); });
    return app.exec();
}
