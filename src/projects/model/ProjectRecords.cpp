#include "projects/model/ProjectRecords.h"

namespace halvex {

ProjectUsage ProjectUsage::decode(const JsonReader& json)
{
    return {json.required<double>("spent_usd"), json.required<double>("budget_usd"), json.required<bool>("exceeded"),
            json.required<bool>("warn")};
}

ProjectFile ProjectFile::decode(const JsonReader& json)
{
    ProjectFile f;
    f.id = json.required<QString>("id");
    f.url = json.required<QString>("url");
    f.name = json.required<QString>("name");
    f.source = json.required<QString>("source");
    f.mime = json.optional<QString>("mime");
    f.sizeBytes = json.optional<qint64>("size_bytes");
    f.authorAgentId = json.optional<QString>("author_agent_id");
    f.createdAt = json.optional<QString>("created_at");
    return f;
}

ProjectNote ProjectNote::decode(const JsonReader& json)
{
    return {json.required<qint64>("id"), json.required<QString>("author"), json.optional<QString>("author_agent_id"),
            json.required<QString>("content"), json.optional<QString>("created_at")};
}

ProjectKnowledgeNote ProjectKnowledgeNote::decode(const JsonReader& json)
{
    ProjectKnowledgeNote n;
    n.id = json.required<QString>("id");
    n.title = json.optional<QString>("title");
    n.body = json.required<QString>("body");
    n.authorKind = json.required<QString>("author_kind");
    n.authorAgentId = json.optional<QString>("author_agent_id");
    n.authorName = json.optional<QString>("author_name");
    n.pinned = json.required<bool>("pinned");
    n.tags = json.required<QStringList>("tags");
    n.createdAt = json.required<QString>("created_at");
    n.updatedAt = json.required<QString>("updated_at");
    return n;
}

ProjectKnowledgeTable::Column ProjectKnowledgeTable::Column::decode(const JsonReader& json)
{
    return {json.optional<QString>("id"), json.required<QString>("name"), json.optional<QString>("type")};
}

ProjectKnowledgeTable ProjectKnowledgeTable::decode(const JsonReader& json)
{
    ProjectKnowledgeTable t;
    t.id = json.required<QString>("id");
    t.name = json.required<QString>("name");
    t.description = json.optional<QString>("description");
    t.columns = json.required<QList<Column>>("columns");
    t.createdByAgentId = json.optional<QString>("created_by_agent_id");
    t.authorName = json.optional<QString>("author_name");
    t.createdAt = json.required<QString>("created_at");
    t.updatedAt = json.required<QString>("updated_at");
    return t;
}

ProjectTablePreviewRow ProjectTablePreviewRow::decode(const JsonReader& json)
{
    return {json.required<QString>("id"), json.required<JSONObject>("data")};
}

ProjectTablePreviewResponse ProjectTablePreviewResponse::decode(const JsonReader& json)
{
    return {json.required<ProjectKnowledgeTable>("table"), json.required<QList<ProjectTablePreviewRow>>("rows"),
            json.required<int>("total"), json.required<int>("limit")};
}

ProjectTask ProjectTask::decode(const JsonReader& json)
{
    ProjectTask t;
    t.id = json.required<QString>("id");
    t.text = json.required<QString>("text");
    t.status = json.required<QString>("status");
    t.assigneeKind = json.required<QString>("assignee_kind");
    t.assigneeId = json.optional<QString>("assignee_id");
    t.assigneeLabel = json.required<QString>("assignee_label");
    t.resultMd = json.optional<QString>("result_md");
    return t;
}

ProjectEvent ProjectEvent::decode(const JsonReader& json)
{
    return {json.required<qint64>("id"),     json.required<QString>("kind"),   json.required<QString>("actor_label"),
            json.required<QString>("title"), json.required<QString>("detail"), json.required<QString>("created_at")};
}

ProjectListResponse ProjectListResponse::decode(const JsonReader& json)
{
    return {json.required<QList<Project>>("projects")};
}

ProjectUpdateResponse ProjectUpdateResponse::decode(const JsonReader& json)
{
    return {json.optional<bool>("ok"), json.required<Project>("project")};
}

ProjectDetailResponse ProjectDetailResponse::decode(const JsonReader& json)
{
    return {json.required<Project>("project"), json.required<QList<ProjectMember>>("members")};
}

ProjectMembersResponse ProjectMembersResponse::decode(const JsonReader& json)
{
    return {json.required<QList<ProjectMember>>("members")};
}

ProjectFilesResponse ProjectFilesResponse::decode(const JsonReader& json)
{
    return {json.required<QList<ProjectFile>>("files")};
}

ProjectTasksResponse ProjectTasksResponse::decode(const JsonReader& json)
{
    return {json.required<QList<ProjectTask>>("tasks")};
}

ProjectEventsResponse ProjectEventsResponse::decode(const JsonReader& json)
{
    return {json.required<QList<ProjectEvent>>("events"), json.optional<bool>("has_more"),
            json.optional<qint64>("next_before")};
}

ProjectMemoryResponse ProjectMemoryResponse::decode(const JsonReader& json)
{
    ProjectMemoryResponse r;
    r.blocks = json.optional<QMap<QString, QString>>("blocks");
    r.notes = json.optional<QList<ProjectNote>>("notes");
    r.knowledgeNotes = json.optional<QList<ProjectKnowledgeNote>>("knowledge_notes");
    r.tables = json.optional<QList<ProjectKnowledgeTable>>("tables");
    return r;
}

} // namespace halvex
