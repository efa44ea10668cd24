#pragma once
// The project's usage, files, memory, tables, tasks and events, and the answer envelopes.
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"
#include "projects/model/Project.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace halvex {

struct ProjectUsage {
    double spentUsd = 0;
    double budgetUsd = 0;
    bool exceeded = false;
    bool warn = false; // spending is near the budget
    static ProjectUsage decode(const JsonReader& json);
    bool operator==(const ProjectUsage&) const = default;
};

struct ProjectFile {
    QString id;
    QString url;
    QString name;
    QString source;
    std::optional<QString> mime;
    std::optional<qint64> sizeBytes;
    std::optional<QString> authorAgentId;
    std::optional<QString> createdAt;
    static ProjectFile decode(const JsonReader& json);
    bool operator==(const ProjectFile&) const = default;
};

struct ProjectNote {
    qint64 id = 0;
    QString author;
    std::optional<QString> authorAgentId;
    QString content;
    std::optional<QString> createdAt;
    static ProjectNote decode(const JsonReader& json);
    bool operator==(const ProjectNote&) const = default;
};

struct ProjectKnowledgeNote {
    QString id;
    std::optional<QString> title;
    QString body;
    QString authorKind;
    std::optional<QString> authorAgentId;
    std::optional<QString> authorName;
    bool pinned = false;
    QStringList tags;
    QString createdAt;
    QString updatedAt;
    static ProjectKnowledgeNote decode(const JsonReader& json);
    bool operator==(const ProjectKnowledgeNote&) const = default;
};

struct ProjectKnowledgeTable {
    struct Column {
        std::optional<QString> id;
        QString name;
        std::optional<QString> type;
        static Column decode(const JsonReader& json);
        bool operator==(const Column&) const = default;
    };
    QString id;
    QString name;
    std::optional<QString> description;
    QList<Column> columns;
    std::optional<QString> createdByAgentId;
    std::optional<QString> authorName;
    QString createdAt;
    QString updatedAt;
    static ProjectKnowledgeTable decode(const JsonReader& json);
    bool operator==(const ProjectKnowledgeTable&) const = default;
};

struct ProjectTablePreviewRow {
    QString id;
    JSONObject data; // column name to cell
    static ProjectTablePreviewRow decode(const JsonReader& json);
    bool operator==(const ProjectTablePreviewRow&) const = default;
};

struct ProjectTablePreviewResponse {
    ProjectKnowledgeTable table;
    QList<ProjectTablePreviewRow> rows;
    int total = 0; // all rows of the table
    int limit = 0; // rows returned at most
    static ProjectTablePreviewResponse decode(const JsonReader& json);
};

struct ProjectTask {
    QString id;
    QString text;
    QString status;
    QString assigneeKind; // "agent", "team" or "none"
    std::optional<QString> assigneeId;
    QString assigneeLabel;
    std::optional<QString> resultMd;
    static ProjectTask decode(const JsonReader& json);
    bool operator==(const ProjectTask&) const = default;
};

struct ProjectEvent {
    qint64 id = 0; // increasing; the paging cursor
    QString kind;
    QString actorLabel;
    QString title;
    QString detail;
    QString createdAt;
    static ProjectEvent decode(const JsonReader& json);
    bool operator==(const ProjectEvent&) const = default;
};

// A display row of the project's knowledge list, built by the memory panel.
struct ProjectKBRow {
    QString id;
    QString icon;
    QString type; // file, link, note or table
    QString name;
    QString meta;
    QString status;
    bool synced = false;
    QString content;
    std::optional<QString> url;
    std::optional<QString> fileId;
    std::optional<qint64> noteId;
    std::optional<QString> tableId;
    QStringList columns;
    bool removable = false;
    bool operator==(const ProjectKBRow&) const = default;
};

struct ProjectListResponse {
    QList<Project> projects;
    static ProjectListResponse decode(const JsonReader& json);
};

// Create and update answer alike.
struct ProjectUpdateResponse {
    std::optional<bool> ok;
    Project project;
    static ProjectUpdateResponse decode(const JsonReader& json);
};
using ProjectCreateResponse = ProjectUpdateResponse;

struct ProjectDetailResponse {
    Project project;
    QList<ProjectMember> members;
    static ProjectDetailResponse decode(const JsonReader& json);
};

struct ProjectMembersResponse {
    QList<ProjectMember> members;
    static ProjectMembersResponse decode(const JsonReader& json);
};

struct ProjectFilesResponse {
    QList<ProjectFile> files;
    static ProjectFilesResponse decode(const JsonReader& json);
};

struct ProjectTasksResponse {
    QList<ProjectTask> tasks;
    static ProjectTasksResponse decode(const JsonReader& json);
};

struct ProjectEventsResponse {
    QList<ProjectEvent> events;
    std::optional<bool> hasMore;
    std::optional<qint64> nextBefore;
    // Paging stops when "has_more" is false or absent.
    bool canPage() const { return hasMore.value_or(false); }
    static ProjectEventsResponse decode(const JsonReader& json);
};

struct ProjectMemoryResponse {
    std::optional<QMap<QString, QString>> blocks;
    std::optional<QList<ProjectNote>> notes;
    std::optional<QList<ProjectKnowledgeNote>> knowledgeNotes;
    std::optional<QList<ProjectKnowledgeTable>> tables;
    static ProjectMemoryResponse decode(const JsonReader& json);
};

} // namespace halvex
