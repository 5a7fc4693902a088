#include "SqliteStatement.h"

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(stmt_);
}

int SqliteStatement::prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    int rc =
        sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
    return rc;
}

void SqliteStatement::bind(int index, const FieldValue& value)
{
    if (value)
        bindText(index, *value);
    else
        sqlite3_bind_null(stmt_, index);
}

void SqliteStatement::bindText(int index, const std::string& text)
{
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bindInt64(int index, std::int64_t value)
{
    sqlite3_bind_int64(stmt_, index, value);
}

void SqliteStatement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

FieldValue SqliteStatement::value(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return text(column);
}

void SqliteStatement::read(int column, FieldValue& out) const
{
    if (isNull(column)) {
        out.reset();
        return;
    }
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    const size_t size = data ? static_cast<size_t>(sqlite3_column_bytes(stmt_, column)) : 0;
    if (out)
        out->assign(data ? data : "", size);
    else
        out.emplace(data ? data : "", size);
}

std::string SqliteStatement::text(int column) const
{
    const unsigned char* data = sqlite3_column_text(stmt_, column);
    if (!data)
        return std::string();
    return std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}
