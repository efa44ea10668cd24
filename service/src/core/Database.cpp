#include "core/Database.h"

#include <stdexcept>

namespace {

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

} // namespace

Database::Database(const std::string& path)
{
    check(sqlite3_open(path.c_str(), &m_db), m_db);
    sqlite3_busy_timeout(m_db, 5000);
    query("PRAGMA journal_mode=WAL");
    query("PRAGMA synchronous=NORMAL");
    query("PRAGMA foreign_keys=ON");
}

Database::~Database() { sqlite3_close(m_db); }

std::vector<SqlRow> Database::query(const std::string& sql, const std::vector<SqlValue>& params)
{
    std::lock_guard guard(m_lock);
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr), m_db);
    for (size_t i = 0; i < params.size(); ++i) {
        const int at = int(i) + 1;
        std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::nullptr_t>)
                    sqlite3_bind_null(stmt, at);
                else if constexpr (std::is_same_v<T, long long>)
                    sqlite3_bind_int64(stmt, at, v);
                else if constexpr (std::is_same_v<T, double>)
                    sqlite3_bind_double(stmt, at, v);
                else
                    sqlite3_bind_text(stmt, at, v.data(), int(v.size()), SQLITE_TRANSIENT);
            },
            params[i]);
    }
    std::vector<SqlRow> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        SqlRow row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                row.emplace_back(static_cast<long long>(sqlite3_column_int64(stmt, c)));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_NULL:
                row.emplace_back(nullptr);
                break;
            default:
                row.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                             size_t(sqlite3_column_bytes(stmt, c))));
            }
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    check(rc, m_db);
    return rows;
}

long long Database::execute(const std::string& sql, const std::vector<SqlValue>& params)
{
    std::lock_guard guard(m_lock);
    query(sql, params);
    return sqlite3_last_insert_rowid(m_db);
}

void Database::transaction(const std::function<void()>& body)
{
    std::lock_guard guard(m_lock);
    query("BEGIN IMMEDIATE");
    try {
        body();
        query("COMMIT");
    } catch (...) {
        query("ROLLBACK");
        throw;
    }
}

void Database::script(const std::string& sql)
{
    std::lock_guard guard(m_lock);
    check(sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr), m_db);
}

bool Database::hasColumn(const std::string& table, const std::string& column)
{
    for (const auto& row : query("PRAGMA table_info(" + table + ")"))
        if (text(row.at(1)) == column)
            return true;
    return false;
}

std::string text(const SqlValue& v)
{
    return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : std::string();
}
long long integer(const SqlValue& v)
{
    if (std::holds_alternative<long long>(v))
        return std::get<long long>(v);
    if (std::holds_alternative<double>(v))
        return static_cast<long long>(std::get<double>(v));
    return 0;
}
bool isNull(const SqlValue& v) { return std::holds_alternative<std::nullptr_t>(v); }
