#include "cli/CliMemory.h"

#include "agents/service/AgentService.h"

#include <QRegularExpression>

namespace halvex::cli {

namespace {

QString textOf(const JSONValue& v, const char* key)
{
    const auto member = v[key];
    return member && member->isString() ? member->toString() : QString();
}

} // namespace

QCoro::Task<int> showMemory(CliContext& c, QString agentId)
{
    AgentService agents(c.api);
    JSONObject record;
    QByteArray notesBody;
    try {
        record = co_await agents.rawDetail(agentId);
        QueryItems query;
        query.append({QStringLiteral("agent_id"), agentId});
        query.append({QStringLiteral("workspace_scope"), QStringLiteral("agent")});
        APIClient::Request request = c.api.makeRequest("GET", QStringLiteral("api/v2/notes"), query);
        notesBody = co_await c.api.send(std::move(request));
    } catch (...) {
        co_return failWith(c, std::current_exception());
    }
    const QString facts = record.value(QStringLiteral("user_metadata_md")).toString();
    const JSONArray notes = JSONValue::parse(notesBody)[QStringLiteral("notes")].value_or(JSONValue()).toArray();
    if (c.out.isJSON()) {
        c.out.object({{QStringLiteral("facts"), facts}, {QStringLiteral("notes"), notes}});
        co_return ok;
    }
    c.out.line(QStringLiteral("What ") + record.value(QStringLiteral("name")).toString()
               + QStringLiteral(" knows about you:"));
    const QStringList entries = facts.split(QStringLiteral("\n\n---\n"), Qt::SkipEmptyParts);
    if (entries.isEmpty())
        c.out.line(QStringLiteral("  nothing yet — tell it in a chat (\"I prefer …\", \"our budget is …\")"));
    for (const QString& entry : entries) {
        // "### Preference\nPrefers short answers." reads "Preference — Prefers short answers."
        QString heading = entry.section(QLatin1Char('\n'), 0, 0).trimmed();
        QString body = entry.section(QLatin1Char('\n'), 1).simplified();
        if (heading.startsWith(QLatin1String("#")) && !body.isEmpty()) {
            heading.remove(QRegularExpression(QStringLiteral("^#+\\s*")));
        } else {
            heading.clear();
            body = entry.simplified();
        }
        c.out.line(QStringLiteral("  • ") + (heading.isEmpty() ? body : heading + QStringLiteral(" — ") + body));
    }
    c.out.line(QStringLiteral("Notes:"));
    if (notes.isEmpty())
        c.out.line(QStringLiteral("  none"));
    for (const JSONValue& note : notes) {
        const QString title = textOf(note, "title");
        c.out.line(QStringLiteral("  • ") + (title.isEmpty() ? QString() : title + QStringLiteral(": "))
                   + textOf(note, "body").simplified().left(200));
    }
    co_return ok;
}

} // namespace halvex::cli
