#pragma once
// Previews of the artifacts an agent produced in a chat: data tables (definition and first 50
// rows) and notes.
#include "core/async/CancelToken.h"
#include "core/net/APIClient.h"

#include <QList>
#include <QMap>
#include <QString>

#include <qcorotask.h>

#include <optional>

namespace halvex {

struct ChatTableColumn {
    QString id;
    QString name;
    QString type;
    static ChatTableColumn decode(const JsonReader& json);
};

struct ChatTableDefinition {
    QString id;
    QString name;
    std::optional<QString> description;
    QList<ChatTableColumn> columns;
    static ChatTableDefinition decode(const JsonReader& json);
};

struct ChatTableRow {
    QString id;
    JSONObject data; // column id to cell value
    static ChatTableRow decode(const JsonReader& json);
};

struct ChatTableRowsResponse {
    QList<ChatTableRow> rows;
    qint64 total = 0;
    static ChatTableRowsResponse decode(const JsonReader& json);
};

struct ChatTablePreview {
    ChatTableDefinition table;
    QList<ChatTableRow> rows;
    qint64 total = 0; // the full row count; `rows` holds at most 50
};

class ChatArtifactService {
public:
    static constexpr int previewRows = 50;

    explicit ChatArtifactService(APIClient& api) : m_api(&api) {}

    QCoro::Task<ChatTablePreview> table(QString id, QString agentID, CancelToken token = {});
    // The note record as the service sends it.
    QCoro::Task<JSONObject> note(QString id, QString agentID, CancelToken token = {});

private:
    APIClient* m_api;
};

} // namespace halvex
