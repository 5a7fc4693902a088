#include "SqliteSchemaChange.h"

#include "SqliteTableFile.h"

#include <regex>

namespace {

std::string literal(const std::string& text)
{
    char* quoted = sqlite3_mprintf("%Q", text.c_str());
    std::string result = quoted;
    sqlite3_free(quoted);
    return result;
}

}  // namespace

EngineStatus SqliteSchemaChange::addColumn(const FieldDescription& field)
{
    bool text = field.type != ColumnType::Date;
    std::string value = field.hasDefault ? literal(field.defaultValue) : (text ? "''" : "NULL");
    // The same column a new file gets (SqliteTableFile::create); SQLite adds
    // it without rewriting a record.
    std::string sql = "ALTER TABLE records ADD COLUMN " + SqliteTableFile::quote(field.name) +
                      (text ? " TEXT NOT NULL DEFAULT " + value : " TEXT DEFAULT " + value) +
                      "; INSERT INTO table_columns (position, name, type, size, default_value) "
                      "SELECT COALESCE(MAX(position) + 1, 0), " +
                      literal(field.name) + ", " + literal(text ? "String" : "Date") + ", " +
                      std::to_string(field.size) + ", " + (field.hasDefault ? value : "NULL") + " FROM table_columns";
    return execute(sql);
}

EngineStatus SqliteSchemaChange::execute(const std::string& sql)
{
    std::string text = std::regex_replace(sql, std::regex("\\{table\\}"), "records");
    text = std::regex_replace(text, std::regex("\\{schema\\}"), "main");
    char* error = nullptr;
    int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
    std::string message = error ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    return rc == SQLITE_OK ? EngineStatus::success() : failure(message);
}

EngineStatus SqliteSchemaChange::failure(const std::string& what) const
{
    return EngineStatus::failure(EngineCode::IoError, "Cannot upgrade the table.",
                                 {what, "Table: " + tableName_, "File: " + path_});
}
