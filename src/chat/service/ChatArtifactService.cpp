#include "chat/service/ChatArtifactService.h"

namespace halvex {

ChatTableColumn ChatTableColumn::decode(const JsonReader& json)
{
    return {json.required<QString>("id"), json.required<QString>("name"), json.required<QString>("type")};
}

ChatTableDefinition ChatTableDefinition::decode(const JsonReader& json)
{
    ChatTableDefinition d;
    d.id = json.required<QString>("id");
    d.name = json.required<QString>("name");
    d.description = json.lenient<QString>("description");
    d.columns = json.required<QList<ChatTableColumn>>("columns");
    return d;
}

ChatTableRow ChatTableRow::decode(const JsonReader& json)
{
    return {json.required<QString>("id"), json.required<JSONObject>("data")};
}

ChatTableRowsResponse ChatTableRowsResponse::decode(const JsonReader& json)
{
    return {json.required<QList<ChatTableRow>>("rows"), json.required<qint64>("total")};
}

QCoro::Task<ChatTablePreview> ChatArtifactService::table(QString id, QString agentID, CancelToken token)
{
    const QString path = QStringLiteral("api/v2/tables/") + id;
    const QueryItems definitionQuery{{QStringLiteral("agent_id"), agentID}};
    const QueryItems rowsQuery{{QStringLiteral("agent_id"), agentID},
                               {QStringLiteral("limit"), QString::number(previewRows)},
                               {QStringLiteral("order"), QStringLiteral("asc")}};
    // Both requests are on the wire before either is awaited.
    auto definitionTask = m_api->get<ChatTableDefinition>(path, definitionQuery, token);
    auto rowsTask = m_api->get<ChatTableRowsResponse>(path + QStringLiteral("/rows"), rowsQuery, token);
    ChatTablePreview preview;
    preview.table = co_await std::move(definitionTask);
    const ChatTableRowsResponse rows = co_await std::move(rowsTask);
    preview.rows = rows.rows;
    preview.total = rows.total;
    co_return preview;
}

QCoro::Task<JSONObject> ChatArtifactService::note(QString id, QString agentID, CancelToken token)
{
    const QueryItems query{{QStringLiteral("agent_id"), agentID}};
    const QString path = QStringLiteral("api/v2/notes/") + id;
    co_return co_await m_api->get<JSONObject>(path, query, token);
}

} // namespace halvex
