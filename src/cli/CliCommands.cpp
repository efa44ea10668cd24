#include "cli/CliCommands.h"

#include "agents/service/AgentService.h"
#include "agents/viewmodel/AgentListViewModel.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "cli/CliAccount.h"
#include "cli/CliCreate.h"
#include "cli/CliMemory.h"
#include "cli/CliProjects.h"
#include "cli/CliWorkers.h"
#include "cli/CredentialPrompt.h"
#include "core/prefs/Preferences.h"
#include "session/service/AuthService.h"
#include "session/viewmodel/SessionViewModel.h"

#include <QHash>
#include <QTemporaryDir>

namespace halvex::cli {

int failWith(const CliContext& c, const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::unauthorized) {
            c.out.error(QStringLiteral("not signed in"));
            return signedOut;
        }
        c.out.error(e.description());
    } catch (const std::exception& e) {
        c.out.error(errorText(e));
    }
    return failed;
}

namespace {

void printUser(const CliContext& c, const User& user)
{
    if (c.out.isJSON()) {
        JSONObject o;
        o.insert(QStringLiteral("id"), user.id);
        o.insert(QStringLiteral("email"), user.email);
        if (user.fullName)
            o.insert(QStringLiteral("full_name"), *user.fullName);
        c.out.object(o);
    } else {
        c.out.line(user.email + (user.fullName ? QStringLiteral(" (") + *user.fullName + QLatin1Char(')') : QString()));
    }
}

QCoro::Task<int> signIn(CliContext& c, bool signUp)
{
    const auto credentials = readCredentials(signUp);
    if (!credentials) {
        c.out.error(QStringLiteral("email and password are read from standard input"));
        co_return usage;
    }
    SessionViewModel session{AuthService(c.api)};
    if (signUp)
        co_await session.signup(credentials->email, credentials->password, credentials->fullName);
    else
        co_await session.login(credentials->email, credentials->password);
    if (!session.state().isLoggedIn() || !session.state().user()) {
        c.out.error(session.authErrorText().isEmpty() ? QStringLiteral("sign-in failed") : session.authErrorText());
        co_return failed;
    }
    printUser(c, *session.state().user());
    co_return ok;
}

QCoro::Task<int> whoAmI(CliContext& c)
{
    AuthService auth(c.api);
    const CancelToken token;
    try {
        const User user = co_await auth.currentUser(token);
        printUser(c, user);
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    co_return ok;
}

QCoro::Task<int> signOut(CliContext& c)
{
    AuthService auth(c.api);
    const CancelToken token;
    co_await auth.logout(token);
    if (!c.out.isJSON())
        c.out.line(QStringLiteral("Signed out."));
    co_return ok;
}

QCoro::Task<int> listChats(CliContext& c)
{
    QTemporaryDir scratch; // the sidebar's local preferences do not outlive the command
    Preferences preferences(scratch.filePath(QStringLiteral("prefs.ini")));
    AgentService service(c.api);
    AgentListViewModel sidebar(c.api, service, preferences);
    bool lost = false;
    QObject::connect(&sidebar, &AgentListViewModel::unauthorized, [&lost] { lost = true; });
    co_await sidebar.loadCoalesced();
    if (lost) {
        c.out.error(QStringLiteral("not signed in"));
        co_return signedOut;
    }
    if (sidebar.error()) {
        c.out.error(*sidebar.error());
        co_return failed;
    }
    for (const SidebarSection& section : sidebar.sections()) {
        if (!c.out.isJSON() && section.title)
            c.out.line(*section.title);
        for (const SidebarItem& item : section.items) {
            const bool team = item.kind() == SidebarItem::Kind::team;
            const QString label = team                    ? item.team().label
                : item.kind() == SidebarItem::Kind::agent ? item.agent().name
                                                          : item.project().label;
            if (c.out.isJSON()) {
                JSONObject o;
                o.insert(QStringLiteral("section"), section.id);
                o.insert(QStringLiteral("id"), item.identity());
                o.insert(QStringLiteral("name"), label);
                o.insert(QStringLiteral("unread"), sidebar.unread(item));
                c.out.object(o);
            } else {
                const int unread = sidebar.unread(item);
                c.out.line(
                    QStringLiteral("  ") + item.identity() + QLatin1Char('\t') + label
                    + (unread > 0 ? QStringLiteral(" (") + QString::number(unread) + QLatin1Char(')') : QString()));
            }
        }
    }
    co_return ok;
}

QCoro::Task<ChatBackend> backendFor(CliContext& c, QString chat)
{
    if (chat.startsWith(QLatin1String("team:"))) {
        const QString slug = chat.mid(5);
        co_return ChatBackend::team(slug, slug);
    }
    AgentService agents(c.api);
    const CancelToken token;
    const Agent agent = co_await agents.detail(chat, token);
    co_return ChatBackend::agent(agent);
}

constexpr qint64 closingGraceMs = 15'000;
constexpr qint64 streamWaitMs = 5'000;

// The newest turn is closed once its usage line (or an approval request) has arrived. Usage
// lines sort before the answer they account for, so the whole turn is searched, back to the
// user's message, not just its last line.
bool turnClosed(const QList<ChatMessage>& messages)
{
    for (auto it = messages.crbegin(); it != messages.crend() && !it->isUser(); ++it) {
        const JSONValue kind = it->metadata.raw.value(QStringLiteral("kind"));
        if (kind == JSONValue(QStringLiteral("turn_spend")) || kind == JSONValue(QStringLiteral("approval_request")))
            return true;
    }
    return false;
}

// Waits on the clock, checking `done` every 100 ms, until it holds or `timeoutMs` passes.
QCoro::Task<bool> waitUntil(Clock& clock, std::function<bool()> done, qint64 timeoutMs)
{
    const qint64 deadline = clock.monotonicMs() + timeoutMs;
    const CancelToken token;
    while (!done()) {
        if (clock.monotonicMs() >= deadline)
            co_return false;
        co_await clock.sleep(100, token);
    }
    co_return true;
}

QCoro::Task<int> showHistory(CliContext& c, QString chat)
{
    try {
        const ChatBackend backend = co_await backendFor(c, chat);
        ChatHistoryCache cache;
        ChatViewModel vm(backend, c.api, c.clock, std::nullopt, cache);
        bool lost = false;
        QObject::connect(&vm, &ChatViewModel::unauthorized, [&lost] { lost = true; });
        co_await vm.loadHistory(false);
        if (lost) {
            c.out.error(QStringLiteral("not signed in"));
            co_return signedOut;
        }
        if (vm.error()) {
            c.out.error(*vm.error());
            co_return failed;
        }
        for (const ChatMessage& m : vm.messages())
            c.out.message(m);
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    co_return ok;
}

QCoro::Task<int> sendTurn(CliContext& c, QString chat, QString text)
{
    try {
        const ChatBackend backend = co_await backendFor(c, chat);
        ChatHistoryCache cache;
        ChatViewModel vm(backend, c.api, c.clock, std::nullopt, cache);
        bool lost = false;
        QObject::connect(&vm, &ChatViewModel::unauthorized, [&lost] { lost = true; });
        co_await vm.start();
        if (vm.error()) {
            c.out.error(*vm.error());
            co_return failed;
        }
        // Everything already there is history; print only what this turn adds or changes.
        QHash<qint64, QString> printed;
        for (const ChatMessage& m : vm.messages())
            printed.insert(m.id, m.content + CliOutput::stepStatus(m));
        bool answered = false;
        auto printNew = [&] {
            for (const ChatMessage& m : vm.messages()) {
                if (m.id <= 0)
                    continue;
                const QString seen = m.content + CliOutput::stepStatus(m);
                const auto found = printed.constFind(m.id);
                if (found != printed.constEnd() && *found == seen)
                    continue;
                printed.insert(m.id, seen);
                if (m.isUser() && found == printed.constEnd() && !c.out.isJSON())
                    continue; // the user's own turn
                if (m.isAssistant())
                    answered = true;
                c.out.message(m);
            }
        };
        QObject::connect(&vm, &ChatViewModel::messagesChanged, &vm, printNew);
        // Live from the first step on: a turn sent before the stream is up would show its
        // steps only when the heal poll comes round.
        const std::function<bool()> streaming = [&] { return lost || vm.isStreamReady(); };
        co_await waitUntil(c.clock, streaming, streamWaitMs);
        const std::optional<QString> turnText = text;
        co_await vm.send(turnText);
        if (vm.error() && !answered) {
            c.out.error(*vm.error());
            co_return failed;
        }
        // The turn is over once the agent stopped working; its usage line (or an approval
        // request) follows the answer closely, so it gets a moment more.
        const std::function<bool()> settled = [&] { return lost || (answered && !vm.isThinking()); };
        const bool finished = co_await waitUntil(c.clock, settled, c.turnTimeoutMs);
        const std::function<bool()> closed = [&] { return lost || !finished || turnClosed(vm.messages()); };
        co_await waitUntil(c.clock, closed, closingGraceMs);
        vm.stop();
        if (lost) {
            c.out.error(QStringLiteral("not signed in"));
            co_return signedOut;
        }
        if (!finished) {
            c.out.error(QStringLiteral("the turn did not complete in time"));
            co_return failed;
        }
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    co_return ok;
}

QCoro::Task<int> decide(CliContext& c, QString chat, QString messageId, ApprovalDecision decision)
{
    bool okNumber = false;
    const qint64 id = messageId.toLongLong(&okNumber);
    if (!okNumber || id <= 0) {
        c.out.error(QStringLiteral("the approval is named by its message id"));
        co_return usage;
    }
    try {
        const ChatBackend backend = co_await backendFor(c, chat);
        ChatHistoryCache cache;
        ChatViewModel vm(backend, c.api, c.clock, std::nullopt, cache);
        co_await vm.loadHistory(false);
        co_await vm.resolveApproval(id, decision);
        if (vm.approvalErrors().contains(id)) {
            c.out.error(vm.approvalErrors().value(id));
            co_return failed;
        }
        QString status
            = decision == ApprovalDecision::approve ? QStringLiteral("approved") : QStringLiteral("rejected");
        for (const ChatMessage& m : vm.messages())
            if (m.id == id && !CliOutput::stepStatus(m).isEmpty())
                status = CliOutput::stepStatus(m);
        if (c.out.isJSON()) {
            JSONObject o;
            o.insert(QStringLiteral("id"), id);
            o.insert(QStringLiteral("status"), status);
            c.out.object(o);
        } else {
            c.out.line(QStringLiteral("#") + QString::number(id) + QLatin1Char(' ') + status);
        }
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    co_return ok;
}

} // namespace

QString usageText()
{
    return QStringLiteral("usage: halvex-cli [--json] [--service URL] [--cookie-file PATH] <command> [arguments]\n"
                          "commands:\n"
                          "  signup | signin          credentials are read from standard input\n"
                          "  signout | whoami\n"
                          "  list                     employees and teams as the sidebar shows them\n"
                          "  history <chat>           <chat> is an employee id or team:<slug>\n"
                          "  send <chat> <text>       prints steps and the answer until the turn completes\n"
                          "  approve <chat> <message-id> | reject <chat> <message-id>\n"
                          "  create <brief>           draft an employee; --worker or --team for the others,\n"
                          "                           --answer key=value per question (else asked), --skip to let\n"
                          "                           the builder decide, --yes to hire the ready draft\n"
                          "  market [service]         ready-made employees, optionally of one service\n"
                          "  hire <marketplace-id>    hire one (hiring it again opens the same employee)\n"
                          "  worker build <brief>     draft a worker's pipeline and print its steps; --yes creates it\n"
                          "  worker run <worker-id>   start a run; --wait prints each step and the result\n"
                          "  runs <worker-id>         the worker's recent runs\n"
                          "  wallet                   tokens available, the plan's use and recent charges\n"
                          "  mandate <employee-id>    show it; --set key=value to change, --clear to remove\n"
                          "  freeze | resume <employee-id>\n"
                          "  projects                 the workspace's projects\n"
                          "  project <slug>           a project's overview, members, files and tasks\n"
                          "  project new              a project through intake: --name, --website and/or\n"
                          "                           --description, --answer key=value per question (else asked),\n"
                          "                           --manual to skip the questions, --yes to create it\n"
                          "  memory <employee-id>     what an employee has learned about you, and its notes");
}

QCoro::Task<int> runCommand(CliContext& context, QString command, QStringList args)
{
    const auto need = [&](int n) {
        if (args.size() == n)
            return true;
        context.out.error(usageText());
        return false;
    };
    if (command == QLatin1String("signin") && need(0))
        co_return co_await signIn(context, false);
    if (command == QLatin1String("signup") && need(0))
        co_return co_await signIn(context, true);
    if (command == QLatin1String("signout") && need(0))
        co_return co_await signOut(context);
    if (command == QLatin1String("whoami") && need(0))
        co_return co_await whoAmI(context);
    if (command == QLatin1String("list") && need(0))
        co_return co_await listChats(context);
    if (command == QLatin1String("history") && need(1))
        co_return co_await showHistory(context, args[0]);
    if (command == QLatin1String("send") && need(2))
        co_return co_await sendTurn(context, args[0], args[1]);
    if (command == QLatin1String("approve") && need(2))
        co_return co_await decide(context, args[0], args[1], ApprovalDecision::approve);
    if (command == QLatin1String("reject") && need(2))
        co_return co_await decide(context, args[0], args[1], ApprovalDecision::reject);
    if (command == QLatin1String("create") && need(1))
        co_return co_await createEmployee(context, args[0]);
    if (command == QLatin1String("market") && args.size() <= 1)
        co_return co_await listMarket(context, args.value(0));
    if (command == QLatin1String("hire") && need(1))
        co_return co_await hireFromMarket(context, args[0]);
    if (command == QLatin1String("worker") && args.size() == 2 && args[0] == QLatin1String("build"))
        co_return co_await buildWorker(context, args[1]);
    if (command == QLatin1String("worker") && args.size() == 2 && args[0] == QLatin1String("run"))
        co_return co_await runWorker(context, args[1]);
    if (command == QLatin1String("runs") && need(1))
        co_return co_await listRuns(context, args[0]);
    if (command == QLatin1String("memory") && need(1))
        co_return co_await showMemory(context, args[0]);
    if (command == QLatin1String("projects") && need(0))
        co_return co_await listProjects(context);
    if (command == QLatin1String("project") && args == QStringList{QStringLiteral("new")})
        co_return co_await newProject(context);
    if (command == QLatin1String("project") && need(1))
        co_return co_await showProject(context, args[0]);
    if (command == QLatin1String("wallet") && need(0))
        co_return co_await showWallet(context);
    if (command == QLatin1String("mandate") && need(1))
        co_return co_await editMandate(context, args[0]);
    if ((command == QLatin1String("freeze") || command == QLatin1String("resume")) && need(1))
        co_return co_await setFrozen(context, args[0], command == QLatin1String("freeze"));
    co_return usage;
}

} // namespace halvex::cli
