#pragma once
// The memory endpoints of one employee: its notes, tables, files, skills, the memory its
// workspace shares, and the runs of its goals. Stateless; failures are the client's APIError.
#include "core/async/CancelToken.h"
#include "core/json/JSONValue.h"
#include "core/net/ServiceURL.h"
#include "memory/model/MemoryRecords.h"

#include <qcorotask.h>

namespace halvex {

class APIClient;

class MemoryService {
public:
    explicit MemoryService(APIClient& api) : m_api(&api) {}

    static constexpr int goalRunsLimit = 5;

    QCoro::Task<AgentFilesResponse> files(QString agentId, CancelToken token = {});
    QCoro::Task<AgentSkillsResponse> skills(QString agentId, CancelToken token = {});
    // The workspace memory as answered ("workspace_kind", "worker_user_facts" …).
    QCoro::Task<JSONObject> memoryProfile(QString agentId, CancelToken token = {});
    QCoro::Task<GoalRunsResponse> goalRuns(QString agentId, QString goalId, CancelToken token = {});
    QCoro::Task<MemoryNoteResponse> addNote(QString agentId, QString title, QString body, CancelToken token = {});
    QCoro::Task<void> deleteNote(QString agentId, QString noteId, CancelToken token = {});
    QCoro::Task<void> patchWorkerUserFacts(QString agentId, QString facts, CancelToken token = {});
    QCoro::Task<void> removeFile(QString agentId, QString url, CancelToken token = {});
    QCoro::Task<MemoryNotesResponse> notes(QString agentId, CancelToken token = {});
    QCoro::Task<AgentTablesResponse> tables(QString agentId, CancelToken token = {});

    static JSONObject noteBody(const QString& agentId, const QString& title, const QString& body);

private:
    static QString agentPath(const QString& agentId, const char* tail);
    static QueryItems scopeQuery(const QString& agentId);

    APIClient* m_api;
};

} // namespace halvex
