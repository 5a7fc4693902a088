#pragma once
#include "SchemaChange.h"

#include <sqlite3.h>

#include <string>

// A schema change on one table file, through a connection inside the
// upgrade's transaction (SqliteDatabase::upgradeSchema).
class SqliteSchemaChange : public SchemaChange {
public:
    SqliteSchemaChange(sqlite3* db, std::string tableName, std::string path)
        : db_(db), tableName_(std::move(tableName)), path_(std::move(path))
    {
    }
    const std::string& tableName() const override { return tableName_; }
    bool onServer() const override { return false; }
    EngineStatus addColumn(const FieldDescription& field) override;
    EngineStatus execute(const std::string& sql) override;

private:
    EngineStatus failure(const std::string& what) const;

    sqlite3* db_;
    std::string tableName_;
    std::string path_;
};
