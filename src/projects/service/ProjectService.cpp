#include "projects/service/ProjectService.h"

#include "core/json/JsonWrite.h"
#include "projects/model/ProjectIntakeRules.h"

namespace halvex {

namespace {

JSONObject one(const char* key, const JSONValue& value) { return {{QLatin1String(key), value}}; }

QList<ProjectNote> notesOf(const QByteArray& data)
{
    return decodeJSON<ProjectMemoryResponse>(data).notes.value_or(QList<ProjectNote>{});
}

QueryItems singleItem(const char* name, const QString& value) { return {{QLatin1String(name), value}}; }

} // namespace

ProjectService::ProjectService() : m_api(&APIClient::shared()) {}

QCoro::Task<ProjectListResponse> ProjectService::list(CancelToken token)
{
    co_return co_await m_api->get<ProjectListResponse>(QStringLiteral("api/v2/projects"), {}, std::move(token));
}

QCoro::Task<ProjectDetailResponse> ProjectService::detail(QString slug, CancelToken token)
{
    const QString path = projectPath(slug);
    co_return co_await m_api->get<ProjectDetailResponse>(path, {}, std::move(token));
}

QCoro::Task<Project> ProjectService::patchProject(QString slug, JSONObject body, CancelToken token)
{
    const QString path = projectPath(slug);
    const QByteArray data = co_await m_api->patchJSONRaw(path, std::move(body), std::move(token));
    co_return decodeJSON<ProjectUpdateResponse>(data).project;
}

QCoro::Task<Project> ProjectService::rename(QString slug, QString label, CancelToken token)
{
    JSONObject body = one("label", label);
    co_return co_await patchProject(slug, std::move(body), std::move(token));
}

QCoro::Task<Project> ProjectService::updateBrief(QString slug, QString brief, CancelToken token)
{
    JSONObject body = one("brief", brief);
    co_return co_await patchProject(slug, std::move(body), std::move(token));
}

QCoro::Task<Project> ProjectService::setStatus(QString slug, QString status, CancelToken token)
{
    JSONObject body = one("status", status);
    co_return co_await patchProject(slug, std::move(body), std::move(token));
}

JSONObject ProjectService::settingsBody(const QString& label, std::optional<double> budgetUsd)
{
    const JSONObject settings = one("project_budget_usd_month", budgetUsd ? JSONValue(*budgetUsd) : JSONValue());
    return {{QStringLiteral("label"), label}, {QStringLiteral("settings"), JSONValue(settings)}};
}

QCoro::Task<Project> ProjectService::updateSettings(QString slug, QString label, std::optional<double> budgetUsd,
                                                    CancelToken token)
{
    JSONObject body = settingsBody(label, budgetUsd);
    co_return co_await patchProject(slug, std::move(body), std::move(token));
}

QCoro::Task<void> ProjectService::remove(QString slug, CancelToken token)
{
    const QString path = projectPath(slug);
    co_await m_api->del(path, {}, std::move(token));
}

QCoro::Task<QList<ProjectMember>> ProjectService::members(QString slug, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/members");
    const auto r = co_await m_api->get<ProjectMembersResponse>(path, {}, std::move(token));
    co_return r.members;
}

QCoro::Task<QList<ProjectMember>> ProjectService::removeMember(QString slug, QString memberId, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/members/") + memberId;
    const QByteArray data = co_await m_api->del(path, {}, std::move(token));
    co_return decodeJSON<ProjectMembersResponse>(data).members;
}

QCoro::Task<QList<ProjectFile>> ProjectService::files(QString slug, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/files");
    const auto r = co_await m_api->get<ProjectFilesResponse>(path, {}, std::move(token));
    co_return r.files;
}

QCoro::Task<QList<ProjectFile>> ProjectService::addLinks(QString slug, QStringList urls, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/files");
    const JSONObject body = one("links", toJSON(urls));
    const auto r = co_await m_api->postJSON<ProjectFilesResponse>(path, body, std::nullopt, std::move(token));
    co_return r.files;
}

QCoro::Task<void> ProjectService::deleteFile(QString slug, QString fileId, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/files");
    const QueryItems query = singleItem("id", fileId);
    co_await m_api->del(path, query, std::move(token));
}

QCoro::Task<ProjectMemoryResponse> ProjectService::memory(QString slug, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/memory");
    co_return co_await m_api->get<ProjectMemoryResponse>(path, {}, std::move(token));
}

QCoro::Task<QList<ProjectNote>> ProjectService::addNote(QString slug, QString note, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/memory");
    const JSONObject body = one("note", note);
    const QByteArray data = co_await m_api->putJSONRaw(path, body, std::move(token));
    co_return notesOf(data);
}

QCoro::Task<QList<ProjectNote>> ProjectService::deleteNote(QString slug, qint64 noteId, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/memory");
    const JSONObject body = one("delete_note_id", JSONValue(noteId));
    const QByteArray data = co_await m_api->putJSONRaw(path, body, std::move(token));
    co_return notesOf(data);
}

QCoro::Task<void> ProjectService::saveBlocks(QString slug, QMap<QString, QString> blocks, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/memory");
    const JSONObject body = one("blocks", toJSON(blocks));
    co_await m_api->putJSONRaw(path, body, std::move(token));
}

QCoro::Task<ProjectTablePreviewResponse> ProjectService::tablePreview(QString slug, QString tableId, int limit,
                                                                      CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/tables/") + tableId + QStringLiteral("/rows");
    const QueryItems query = singleItem("limit", QString::number(limit));
    co_return co_await m_api->get<ProjectTablePreviewResponse>(path, query, std::move(token));
}

QCoro::Task<QList<ProjectTask>> ProjectService::tasks(QString slug, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/tasks");
    const auto r = co_await m_api->get<ProjectTasksResponse>(path, {}, std::move(token));
    co_return r.tasks;
}

JSONObject ProjectService::assigneeFields(const std::optional<ProjectAssignee>& assignee)
{
    if (!assignee)
        return one("assignee_kind", QStringLiteral("none"));
    JSONObject o = one("assignee_kind", assignee->kind);
    o.insert(assignee->kind == QLatin1String("team") ? QStringLiteral("team_slug") : QStringLiteral("agent_id"),
             assignee->id);
    return o;
}

QCoro::Task<QList<ProjectTask>> ProjectService::addTask(QString slug, QString text,
                                                        std::optional<ProjectAssignee> assignee, CancelToken token)
{
    JSONObject body = assignee ? assigneeFields(assignee) : JSONObject{};
    body.insert(QStringLiteral("text"), text);
    const QString path = projectPath(slug) + QStringLiteral("/tasks");
    const auto r = co_await m_api->postJSON<ProjectTasksResponse>(path, body, std::nullopt, std::move(token));
    co_return r.tasks;
}

QCoro::Task<QList<ProjectTask>> ProjectService::setTaskStatus(QString slug, QString taskId, QString status,
                                                              CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/tasks/") + taskId;
    const JSONObject body = one("status", status);
    const QByteArray data = co_await m_api->patchJSONRaw(path, body, std::move(token));
    co_return decodeJSON<ProjectTasksResponse>(data).tasks;
}

QCoro::Task<QList<ProjectTask>> ProjectService::assignTask(QString slug, QString taskId,
                                                           std::optional<ProjectAssignee> assignee, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/tasks/") + taskId;
    const JSONObject body = assigneeFields(assignee);
    const QByteArray data = co_await m_api->patchJSONRaw(path, body, std::move(token));
    co_return decodeJSON<ProjectTasksResponse>(data).tasks;
}

QCoro::Task<ProjectUsage> ProjectService::usage(QString slug, CancelToken token)
{
    const QString path = projectPath(slug) + QStringLiteral("/usage");
    co_return co_await m_api->get<ProjectUsage>(path, {}, std::move(token));
}

QCoro::Task<ProjectEventsResponse> ProjectService::events(QString slug, std::optional<qint64> before, CancelToken token)
{
    QueryItems query;
    if (before)
        query = singleItem("before", QString::number(*before));
    const QString path = projectPath(slug) + QStringLiteral("/events");
    co_return co_await m_api->get<ProjectEventsResponse>(path, query, std::move(token));
}

namespace {

JSONObject intakeBody(const char* stage, const QString& label, const QString& websiteURL, const QString& description)
{
    return {{QStringLiteral("stage"), QString::fromLatin1(stage)},
            {QStringLiteral("label"), label},
            {QStringLiteral("website_url"), websiteURL},
            {QStringLiteral("description"), description}};
}

} // namespace

QCoro::Task<ProjectIntakeQuestionsResponse> ProjectService::intakeQuestions(QString label, QString websiteURL,
                                                                            QString description, CancelToken token)
{
    const QString path = QStringLiteral("api/v2/projects/intake");
    JSONObject body = intakeBody("questions", label, websiteURL, description);
    co_return co_await m_api->postJSON<ProjectIntakeQuestionsResponse>(path, std::move(body), intakeTimeoutSeconds,
                                                                       std::move(token));
}

QCoro::Task<ProjectIntakeOverviewResponse> ProjectService::intakeOverview(QString label, QString websiteURL,
                                                                          QString description,
                                                                          std::optional<ProjectIntakeSource> source,
                                                                          QList<ProjectIntakeAnswer> answers,
                                                                          CancelToken token)
{
    const QString path = QStringLiteral("api/v2/projects/intake");
    JSONObject body = intakeBody("overview", label, websiteURL, description);
    body.insert(QStringLiteral("source"), source ? source->payload() : JSONObject());
    body.insert(QStringLiteral("answers"), toJSON(answers));
    co_return co_await m_api->postJSON<ProjectIntakeOverviewResponse>(path, std::move(body), intakeTimeoutSeconds,
                                                                      std::move(token));
}

QCoro::Task<ProjectCreateResponse> ProjectService::create(QString label, ProjectOverview overview,
                                                          QString creationRequestID,
                                                          std::optional<ProjectIntakeSource> siteEvidence,
                                                          CancelToken token)
{
    const QString path = QStringLiteral("api/v2/projects");
    JSONObject body = ProjectIntakePayload::createBody(label, overview, creationRequestID, siteEvidence);
    co_return co_await m_api->postJSON<ProjectCreateResponse>(path, std::move(body), std::nullopt, std::move(token));
}

} // namespace halvex
