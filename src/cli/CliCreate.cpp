#include "cli/CliCreate.h"

#include "cli/CredentialPrompt.h"
#include "core/prefs/AppNotifications.h"
#include "create/viewmodel/CreateAgentViewModel.h"
#include "marketplace/viewmodel/MarketplaceViewModel.h"

#include <unistd.h>

namespace halvex::cli {

namespace {

QString text(const std::optional<QString>& s) { return s.value_or(QString()); }

JSONArray strings(const QStringList& list)
{
    JSONArray out;
    for (const QString& s : list)
        out.append(s);
    return out;
}

// The answer given with --answer for this question (by key or by question text), if any.
std::optional<QString> givenAnswer(const QStringList& answers, const ClarifyQuestion& q)
{
    for (const QString& entry : answers) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = entry.left(eq).trimmed();
        if (key == q.id() || key == text(q.key))
            return entry.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

// Files one typed answer: an option's number, label or value picks it (several, comma-separated,
// for a multi-select question); anything else is the user's own answer.
void fileAnswer(CreateAgentViewModel& flow, const ClarifyQuestion& q, const QString& answer)
{
    const QList<ClarifyOption> options = q.options.value_or(QList<ClarifyOption>());
    QStringList chosen;
    QStringList own;
    const QStringList parts = q.multiSelect.value_or(false) ? answer.split(QLatin1Char(',')) : QStringList{answer};
    for (const QString& raw : parts) {
        const QString part = raw.trimmed();
        bool number = false;
        const int index = part.toInt(&number) - 1;
        const auto match = std::find_if(options.cbegin(), options.cend(), [&](const ClarifyOption& o) {
            return part.compare(text(o.label), Qt::CaseInsensitive) == 0 || part == text(o.value);
        });
        if (number && index >= 0 && index < options.size())
            chosen << options[index].value.value_or(text(options[index].label));
        else if (match != options.cend())
            chosen << match->value.value_or(text(match->label));
        else if (!part.isEmpty())
            own << part;
    }
    flow.choices.insert(q.id(), chosen);
    flow.customAnswers.insert(q.id(), own.join(QStringLiteral(", ")));
}

// Asks this round's questions: from --answer, else at the prompt (when there is input to read).
void answerRound(CliContext& c, CreateAgentViewModel& flow)
{
    const bool interactive = isatty(STDIN_FILENO);
    for (const ClarifyQuestion& q : flow.clarifyQuestions()) {
        if (const auto given = givenAnswer(c.options.answers, q)) {
            fileAnswer(flow, q, *given);
            continue;
        }
        if (!interactive || c.out.isJSON())
            continue;
        c.out.line(text(q.question)
                   + (q.multiSelect.value_or(false) ? QStringLiteral(" (numbers, comma-separated)") : QString()));
        const QList<ClarifyOption> options = q.options.value_or(QList<ClarifyOption>());
        for (qsizetype i = 0; i < options.size(); ++i)
            c.out.line(QStringLiteral("  %1. ").arg(i + 1) + text(options[i].label)
                       + (text(options[i].hint).isEmpty() ? QString() : QStringLiteral(" — ") + *options[i].hint));
        if (const auto typed = promptLine("> "))
            fileAnswer(flow, q, *typed);
    }
}

void printDraft(CliContext& c, const CreateAgentViewModel& flow)
{
    if (c.out.isJSON()) {
        JSONObject o{{QStringLiteral("step"), QStringLiteral("review")}};
        if (const auto& d = flow.draft()) {
            o.insert(QStringLiteral("name"), flow.finalName());
            o.insert(QStringLiteral("role"), text(d->role));
            o.insert(QStringLiteral("description"), text(d->description));
            o.insert(QStringLiteral("tools"), strings(d->tools.value_or(QStringList())));
        }
        if (const auto& t = flow.teamDraft()) {
            o.insert(QStringLiteral("name"), flow.finalTeamLabel());
            JSONArray members;
            for (const TeamMemberDraft& m : t->members.value_or(QList<TeamMemberDraft>()))
                members.append(
                    JSONObject{{QStringLiteral("handle"), text(m.handle)}, {QStringLiteral("role"), text(m.role)}});
            o.insert(QStringLiteral("members"), members);
        }
        c.out.object(o);
        return;
    }
    if (const auto& d = flow.draft()) {
        c.out.line(flow.finalName() + (text(d->role).isEmpty() ? QString() : QStringLiteral(" — ") + *d->role));
        if (!text(d->description).isEmpty())
            c.out.line(*d->description);
        for (const DraftStep& step : d->displaySteps())
            c.out.line(QStringLiteral("  %1. %2: %3").arg(step.index + 1).arg(step.typeLabel(), text(step.name)));
        if (d->tools && !d->tools->isEmpty())
            c.out.line(QStringLiteral("Tools: ") + d->tools->join(QStringLiteral(", ")));
    }
    if (const auto& t = flow.teamDraft()) {
        c.out.line(flow.finalTeamLabel()
                   + (text(t->tagline).isEmpty() ? QString() : QStringLiteral(" — ") + *t->tagline));
        for (const TeamMemberDraft& m : t->members.value_or(QList<TeamMemberDraft>()))
            c.out.line(QStringLiteral("  ") + text(m.handle) + QStringLiteral(" — ") + text(m.role));
    }
}

} // namespace

QCoro::Task<int> createEmployee(CliContext& c, QString brief)
{
    AppNotifications notifications;
    CreateAgentViewModel flow(c.api, c.clock, notifications);
    bool lost = false;
    QObject::connect(&flow, &CreateAgentViewModel::unauthorized, [&lost] { lost = true; });
    flow.kind = c.options.team ? CreateKind::team : CreateKind::solo;
    flow.mode = c.options.worker ? QStringLiteral("worker") : QStringLiteral("employee");
    flow.brief = brief;
    if (flow.brief.trimmed().size() < 10) {
        c.out.error(QStringLiteral("describe the job in at least 10 characters"));
        co_return usage;
    }
    co_await flow.generate(c.options.skip);
    while (flow.step() == CreateFlowStep::clarify) {
        if (!c.options.skip)
            answerRound(c, flow);
        if (c.options.skip || flow.collectAnswers().isEmpty()) {
            co_await flow.clarifySkip();
            continue;
        }
        // Every page at once: continuing on an earlier page only turns it.
        while (flow.step() == CreateFlowStep::clarify && flow.questionGroup() < flow.clarifyGroups().size() - 1)
            co_await flow.clarifyContinue();
        co_await flow.clarifyContinue();
    }
    if (lost) {
        c.out.error(QStringLiteral("not signed in"));
        co_return signedOut;
    }
    if (flow.step() != CreateFlowStep::review) {
        c.out.error(flow.error().value_or(QStringLiteral("Could not generate.")));
        co_return failed;
    }
    printDraft(c, flow);
    if (!c.options.yes) {
        if (!c.out.isJSON())
            c.out.line(QStringLiteral("Run again with --yes to hire."));
        co_return ok;
    }
    if (flow.kind == CreateKind::team)
        co_await flow.createTeam();
    else
        co_await flow.create();
    if (flow.step() != CreateFlowStep::done) {
        c.out.error(flow.error().value_or(QStringLiteral("Could not create the employee.")));
        co_return lost ? signedOut : failed;
    }
    const QString created = flow.kind == CreateKind::team ? QStringLiteral("team:") + text(flow.createdTeamSlug())
                                                          : text(flow.createdId());
    if (c.out.isJSON())
        c.out.object({{QStringLiteral("step"), QStringLiteral("done")}, {QStringLiteral("id"), created}});
    else
        c.out.line(QStringLiteral("Hired: ") + created);
    co_return ok;
}

QCoro::Task<int> listMarket(CliContext& c, QString filter)
{
    MarketplaceViewModel market(c.api);
    co_await market.load();
    while (!market.needsLogin() && !market.error() && market.hasMore() && !market.paginationFailed())
        co_await market.loadNextBatch();
    if (market.needsLogin()) {
        c.out.error(QStringLiteral("not signed in"));
        co_return signedOut;
    }
    if (market.error() || market.paginationFailed()) {
        c.out.error(market.error().value_or(QStringLiteral("Failed to load marketplace")));
        co_return failed;
    }
    market.setFilter(filter);
    for (const MarketplaceWorker& w : market.filtered()) {
        if (c.out.isJSON())
            c.out.object({{QStringLiteral("id"), w.id},
                          {QStringLiteral("name"), w.name},
                          {QStringLiteral("service"), w.service},
                          {QStringLiteral("installs"), double(w.installsCount.value_or(0))}});
        else
            c.out.line(w.id + QLatin1Char('\t') + w.name + QLatin1Char('\t') + w.service + QLatin1Char('\t')
                       + w.runsCountLabel);
    }
    co_return ok;
}

QCoro::Task<int> hireFromMarket(CliContext& c, QString id)
{
    MarketplaceService market(c.api);
    try {
        const QString hired = co_await market.hire(id, std::nullopt, std::nullopt);
        if (c.out.isJSON())
            c.out.object({{QStringLiteral("id"), hired}});
        else
            c.out.line(QStringLiteral("Hired: ") + hired);
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::unauthorized) {
            c.out.error(QStringLiteral("not signed in"));
            co_return signedOut;
        }
        c.out.error(e.description().isEmpty() ? QStringLiteral("Could not hire this employee") : e.description());
        co_return failed;
    }
    co_return ok;
}

} // namespace halvex::cli
