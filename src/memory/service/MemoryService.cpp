#include "memory/service/MemoryService.h"

#include "core/net/APIClient.h"

namespace halvex {

namespace {

const QString agentScope = QStringLiteral("agent");

} // namespace

QString MemoryService::agentPath(const QString& agentId, const char* tail)
{
    return QStringLiteral("api/v2/custom-agents/") + agentId + QLatin1String(tail);
}

QueryItems MemoryService::scopeQuery(const QString& agentId)
{
    return {{QStringLiteral("agent_id"), agentId}, {QStringLiteral("workspace_scope"), agentScope}};
}

QCoro::Task<AgentFilesResponse> MemoryService::files(QString agentId, CancelToken token)
{
    const QString path = agentPath(agentId, "/files");
    const QueryItems none;
    co_return co_await m_api->get<AgentFilesResponse>(path, none, std::move(token));
}

QCoro::Task<AgentSkillsResponse> MemoryService::skills(QString agentId, CancelToken token)
{
    const QString path = agentPath(agentId, "/skills");
    const QueryItems none;
    co_return co_await m_api->get<AgentSkillsResponse>(path, none, std::move(token));
}

QCoro::Task<JSONObject> MemoryService::memoryProfile(QString agentId, CancelToken token)
{
    const QString path = agentPath(agentId, "/memory-profile");
    const QueryItems none;
    co_return co_await m_api->get<JSONObject>(path, none, std::move(token));
}

QCoro::Task<GoalRunsResponse> MemoryService::goalRuns(QString agentId, QString goalId, CancelToken token)
{
    const QString path = agentPath(agentId, "/goals/") + goalId + QStringLiteral("/runs");
    const QueryItems query{{QStringLiteral("limit"), QString::number(goalRunsLimit)}};
    co_return co_await m_api->get<GoalRunsResponse>(path, query, std::move(token));
}

JSONObject MemoryService::noteBody(const QString& agentId, const QString& title, const QString& body)
{
    JSONObject out{{QStringLiteral("body"), body},
                   {QStringLiteral("agent_id"), agentId},
                   {QStringLiteral("workspace_scope"), agentScope}};
    if (!title.isEmpty())
        out.insert(QStringLiteral("title"), title);
    return out;
}

QCoro::Task<MemoryNoteResponse> MemoryService::addNote(QString agentId, QString title, QString body, CancelToken token)
{
    const JSONObject json = noteBody(agentId, title, body);
    co_return co_await m_api->postJSON<MemoryNoteResponse>(QStringLiteral("api/v2/notes"), json, std::nullopt,
                                                           std::move(token));
}

QCoro::Task<void> MemoryService::deleteNote(QString agentId, QString noteId, CancelToken token)
{
    const QString path = QStringLiteral("api/v2/notes/") + noteId;
    const QueryItems query = scopeQuery(agentId);
    co_await m_api->del(path, query, std::move(token));
}

QCoro::Task<void> MemoryService::patchWorkerUserFacts(QString agentId, QString facts, CancelToken token)
{
    const QString path = agentPath(agentId, "/memory-profile");
    const JSONObject body{{QStringLiteral("worker_user_facts"), facts},
                          {QStringLiteral("workspace_scope"), agentScope}};
    co_await m_api->patchJSONRaw(path, body, std::move(token));
}

QCoro::Task<void> MemoryService::removeFile(QString agentId, QString url, CancelToken token)
{
    const QString path = agentPath(agentId, "/files");
    const QueryItems query{{QStringLiteral("url"), url}};
    co_await m_api->del(path, query, std::move(token));
}

QCoro::Task<MemoryNotesResponse> MemoryService::notes(QString agentId, CancelToken token)
{
    const QueryItems query = scopeQuery(agentId);
    co_return co_await m_api->get<MemoryNotesResponse>(QStringLiteral("api/v2/notes"), query, std::move(token));
}

QCoro::Task<AgentTablesResponse> MemoryService::tables(QString agentId, CancelToken token)
{
    const QueryItems query = scopeQuery(agentId);
    co_return co_await m_api->get<AgentTablesResponse>(QStringLiteral("api/v2/tables"), query, std::move(token));
}

} // namespace halvex
