#pragma once
// One operation per project endpoint. Stateless; the slug is appended to paths as it is.
#include "core/async/CancelToken.h"
#include "core/json/JSONValue.h"
#include "core/net/APIClient.h"
#include "projects/model/Project.h"
#include "projects/model/ProjectIntakeRecords.h"
#include "projects/model/ProjectRecords.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <qcorotask.h>

#include <optional>

namespace halvex {

// Who a task goes to: kind "agent" with an employee id, or "team" with a team slug.
struct ProjectAssignee {
    QString kind;
    QString id;
    bool operator==(const ProjectAssignee&) const = default;
};

class ProjectService {
public:
    explicit ProjectService(APIClient& api) : m_api(&api) {}
    ProjectService();

    static QString projectPath(const QString& slug) { return QStringLiteral("api/v2/projects/") + slug; }

    QCoro::Task<ProjectListResponse> list(CancelToken token = {});
    QCoro::Task<ProjectDetailResponse> detail(QString slug, CancelToken token = {});
    QCoro::Task<Project> rename(QString slug, QString label, CancelToken token = {});
    QCoro::Task<Project> updateBrief(QString slug, QString brief, CancelToken token = {});
    QCoro::Task<Project> setStatus(QString slug, QString status, CancelToken token = {});
    // No budget removes it (sent as null).
    QCoro::Task<Project> updateSettings(QString slug, QString label, std::optional<double> budgetUsd,
                                        CancelToken token = {});
    QCoro::Task<void> remove(QString slug, CancelToken token = {});

    QCoro::Task<QList<ProjectMember>> members(QString slug, CancelToken token = {});
    QCoro::Task<QList<ProjectMember>> removeMember(QString slug, QString memberId, CancelToken token = {});

    QCoro::Task<QList<ProjectFile>> files(QString slug, CancelToken token = {});
    QCoro::Task<QList<ProjectFile>> addLinks(QString slug, QStringList urls, CancelToken token = {});
    QCoro::Task<void> deleteFile(QString slug, QString fileId, CancelToken token = {});

    QCoro::Task<ProjectMemoryResponse> memory(QString slug, CancelToken token = {});
    QCoro::Task<QList<ProjectNote>> addNote(QString slug, QString note, CancelToken token = {});
    QCoro::Task<QList<ProjectNote>> deleteNote(QString slug, qint64 noteId, CancelToken token = {});
    QCoro::Task<void> saveBlocks(QString slug, QMap<QString, QString> blocks, CancelToken token = {});
    QCoro::Task<ProjectTablePreviewResponse> tablePreview(QString slug, QString tableId, int limit,
                                                          CancelToken token = {});

    QCoro::Task<QList<ProjectTask>> tasks(QString slug, CancelToken token = {});
    QCoro::Task<QList<ProjectTask>> addTask(QString slug, QString text, std::optional<ProjectAssignee> assignee,
                                            CancelToken token = {});
    QCoro::Task<QList<ProjectTask>> setTaskStatus(QString slug, QString taskId, QString status, CancelToken token = {});
    QCoro::Task<QList<ProjectTask>> assignTask(QString slug, QString taskId, std::optional<ProjectAssignee> assignee,
                                               CancelToken token = {});

    QCoro::Task<ProjectUsage> usage(QString slug, CancelToken token = {});
    // Events older than `before` when given; the newest page otherwise.
    QCoro::Task<ProjectEventsResponse> events(QString slug, std::optional<qint64> before, CancelToken token = {});

    // Project intake: the service reads the website and asks the open decisions, then writes
    // the profile. Both may take long: each request waits up to 90 seconds.
    static constexpr double intakeTimeoutSeconds = 90;
    QCoro::Task<ProjectIntakeQuestionsResponse> intakeQuestions(QString label, QString websiteURL, QString description,
                                                                CancelToken token = {});
    // `source`: the reading the questions came with, if any.
    QCoro::Task<ProjectIntakeOverviewResponse> intakeOverview(QString label, QString websiteURL, QString description,
                                                              std::optional<ProjectIntakeSource> source,
                                                              QList<ProjectIntakeAnswer> answers,
                                                              CancelToken token = {});
    // A repeated `creationRequestID` answers the project the first call made.
    QCoro::Task<ProjectCreateResponse> create(QString label, ProjectOverview overview, QString creationRequestID,
                                              std::optional<ProjectIntakeSource> siteEvidence, CancelToken token = {});

    static JSONObject settingsBody(const QString& label, std::optional<double> budgetUsd);
    static JSONObject assigneeFields(const std::optional<ProjectAssignee>& assignee);

private:
    QCoro::Task<Project> patchProject(QString slug, JSONObject body, CancelToken token);

    APIClient* m_api;
};

} // namespace halvex
