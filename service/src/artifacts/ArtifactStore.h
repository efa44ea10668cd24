#pragma once
// Tables and notes an employee produced in a chat. Each belongs to the user and to the agent
// that wrote it; a preview names that agent and gets nothing that belongs to another.
#include "core/Database.h"
#include "core/Http.h"

#include <optional>
#include <string>

namespace service {

struct NewTable {
    std::string name;
    std::string description;
    json columns = json::array(); // [{"id", "name", "type"}]
    json rows = json::array();    // each a map of column id to cell
};
// Answers the new table's id.
std::string createTable(Database& db, long long uid, const std::string& agentId, const NewTable& table);
std::string createNote(Database& db, long long uid, const std::string& agentId, const std::string& title,
                       const std::string& content);

// {"id", "name", "description", "columns", "created_at", "updated_at"}
std::optional<json> tableDefinition(Database& db, long long uid, const std::string& agentId,
                                    const std::string& tableId);
// {"rows": at most `limit`, in position order (newest first when not ascending), "total"}
std::optional<json> tableRows(Database& db, long long uid, const std::string& agentId, const std::string& tableId,
                              int limit, bool ascending);
// The employee's tables as its knowledge lists them, most recently changed first.
json agentTablesJson(Database& db, long long uid, const std::string& agentId);
std::optional<json> noteRecord(Database& db, long long uid, const std::string& agentId, const std::string& noteId);

} // namespace service
