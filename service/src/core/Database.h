#pragma once
// The one SQLite connection of the service. WAL journal, one transaction per state change;
// every statement runs under the database's lock, so route handlers on the server's worker
// threads never interleave inside a change. The schema comes from core/Migrations.
#include <sqlite3.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

using SqlValue = std::variant<std::nullptr_t, long long, double, std::string>;
using SqlRow = std::vector<SqlValue>;

class Database {
public:
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    std::vector<SqlRow> query(const std::string& sql, const std::vector<SqlValue>& params = {});
    long long execute(const std::string& sql, const std::vector<SqlValue>& params = {}); // last row id
    // Several statements at once, without parameters: schema steps.
    void script(const std::string& sql);
    // Runs `body` inside BEGIN IMMEDIATE … COMMIT (ROLLBACK when it throws).
    void transaction(const std::function<void()>& body);
    bool hasColumn(const std::string& table, const std::string& column);

private:
    sqlite3* m_db = nullptr;
    std::recursive_mutex m_lock;
};

std::string text(const SqlValue& v);
long long integer(const SqlValue& v);
bool isNull(const SqlValue& v);
