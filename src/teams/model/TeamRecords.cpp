#include "teams/model/TeamRecords.h"

#include <QRegularExpression>

#include "core/json/JsonWrite.h"

namespace halvex {

TeamRosterMember TeamRosterMember::decode(const JsonReader& json)
{
    TeamRosterMember m;
    m.id = json.required<QString>("id");
    m.slug = json.optional<QString>("slug");
    m.handle = json.optional<QString>("handle");
    m.name = json.required<QString>("name");
    m.role = json.optional<QString>("role");
    m.status = json.optional<QString>("status");
    m.avatarUrl = json.optional<QString>("avatar_url");
    m.llmProvider = json.optional<QString>("llm_provider");
    m.llmModel = json.optional<QString>("llm_model");
    m.isReviewer = json.optional<bool>("is_reviewer");
    return m;
}

JSONObject TeamRosterMember::encode() const
{
    JSONObject o;
    o.insert(QStringLiteral("id"), id);
    insertIfPresent(o, "slug", slug);
    insertIfPresent(o, "handle", handle);
    o.insert(QStringLiteral("name"), name);
    insertIfPresent(o, "role", role);
    insertIfPresent(o, "status", status);
    insertIfPresent(o, "avatar_url", avatarUrl);
    insertIfPresent(o, "llm_provider", llmProvider);
    insertIfPresent(o, "llm_model", llmModel);
    insertIfPresent(o, "is_reviewer", isReviewer);
    return o;
}

TeamOrchLlm TeamOrchLlm::decode(const JsonReader& json)
{
    return {json.optional<QString>("provider"), json.optional<QString>("model")};
}

JSONObject TeamOrchLlm::encode() const
{
    JSONObject o;
    insertIfPresent(o, "provider", provider);
    insertIfPresent(o, "model", model);
    return o;
}

TeamLoopConfig TeamLoopConfig::decode(const JsonReader& json)
{
    TeamLoopConfig c;
    c.enabled = json.optional<bool>("enabled");
    c.maxIterations = json.optional<int>("max_iterations");
    c.maxTokens = json.optional<int>("max_tokens");
    c.maxCostUsd = json.optional<double>("max_cost_usd");
    c.qualityThreshold = json.optional<int>("quality_threshold");
    c.stopOnNoImprovement = json.optional<bool>("stop_on_no_improvement");
    return c;
}

JSONObject TeamLoopConfig::encode() const
{
    JSONObject o;
    insertIfPresent(o, "enabled", enabled);
    insertIfPresent(o, "max_iterations", maxIterations);
    insertIfPresent(o, "max_tokens", maxTokens);
    insertIfPresent(o, "max_cost_usd", maxCostUsd);
    insertIfPresent(o, "quality_threshold", qualityThreshold);
    insertIfPresent(o, "stop_on_no_improvement", stopOnNoImprovement);
    return o;
}

AddMemberResponse::Member AddMemberResponse::Member::decode(const JsonReader& json)
{
    return {json.optional<QString>("id"), json.optional<QString>("handle"), json.optional<QString>("name"),
            json.optional<QString>("role"), json.optional<QString>("status")};
}

AddMemberResponse AddMemberResponse::decode(const JsonReader& json)
{
    return {json.optional<bool>("ok"), json.optional<Member>("member")};
}

TeamPatchResponse TeamPatchResponse::decode(const JsonReader& json)
{
    return {json.optional<QString>("label"), json.optional<QString>("group_slug")};
}

TeamUsageResponse::Total TeamUsageResponse::Total::decode(const JsonReader& json)
{
    return {json.optional<qint64>("tokens"), json.optional<qint64>("calls"), json.optional<JSONValue>("cost_usd")};
}

TeamUsageResponse::Member TeamUsageResponse::Member::decode(const JsonReader& json)
{
    Member m;
    m.agentId = json.optional<QString>("agent_id");
    m.handle = json.optional<QString>("handle");
    m.role = json.optional<QString>("role");
    m.status = json.optional<QString>("status");
    m.tokens = json.optional<qint64>("tokens");
    m.calls = json.optional<qint64>("calls");
    m.costUsd = json.optional<JSONValue>("cost_usd");
    return m;
}

TeamUsageResponse TeamUsageResponse::decode(const JsonReader& json)
{
    return {json.optional<Total>("total"), json.optional<QList<Member>>("members")};
}

TeamTask TeamTask::decode(const JsonReader& json)
{
    TeamTask t;
    t.id = json.required<qint64>("id");
    t.taskText = json.optional<QString>("task_text");
    t.status = json.required<QString>("status");
    t.assigneeHandle = json.optional<QString>("assignee_handle");
    t.assigneeName = json.optional<QString>("assignee_name");
    t.assigneeAvatar = json.optional<QString>("assignee_avatar");
    t.createdAt = json.optional<QString>("created_at");
    return t;
}

QString taskColumnTitle(TaskColumn column)
{
    switch (column) {
    case TaskColumn::backlog:
        return QStringLiteral("Backlog");
    case TaskColumn::todo:
        return QStringLiteral("To do");
    case TaskColumn::inProgress:
        return QStringLiteral("In progress");
    case TaskColumn::done:
        return QStringLiteral("Done");
    }
    return QString();
}

std::optional<double> TeamUsageResponse::costUsd(const std::optional<JSONValue>& raw)
{
    if (!raw || raw->isNull())
        return std::nullopt;
    if (raw->isNumber())
        return raw->toNumber();
    if (!raw->isString())
        return std::nullopt;
    static const QRegularExpression decimal(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)$)"));
    const QString text = raw->toString();
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

} // namespace halvex
