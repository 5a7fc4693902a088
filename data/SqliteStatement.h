#pragma once
#include "FieldValue.h"

#include <sqlite3.h>

#include <cstdint>
#include <string>

// One prepared statement, finalized when the object goes. A statement is
// stepped and then reset() before anyone else uses it, so a cached statement
// never holds a read transaction open between engine calls.
class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement();

    // Returns the SQLite result code; on failure the statement stays empty.
    int prepare(sqlite3* db, const std::string& sql);
    bool prepared() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }
    const char* sql() const { return stmt_ ? sqlite3_sql(stmt_) : ""; }

    // Parameters count from 1. Text is copied, so the caller's string may go.
    void bind(int index, const FieldValue& value);
    void bindText(int index, const std::string& text);
    void bindInt64(int index, std::int64_t value);

    int step() { return sqlite3_step(stmt_); }
    // Ends the current run and forgets the bindings.
    void reset();

    // Columns count from 0.
    FieldValue value(int column) const;
    // The same into out, reusing its room.
    void read(int column, FieldValue& out) const;
    std::string text(int column) const;
    std::int64_t int64(int column) const { return sqlite3_column_int64(stmt_, column); }
    bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};
