#pragma once
#include "PgConnection.h"
#include "SchemaChange.h"

#include <string>

// A schema change on one table of a server schema, on the connection that
// holds the upgrade's transaction (PgDatabase::upgradeSchema).
class PgSchemaChange : public SchemaChange {
public:
    PgSchemaChange(PgConnection& connection, std::string tableName)
        : connection_(connection), tableName_(std::move(tableName))
    {
    }
    const std::string& tableName() const override { return tableName_; }
    bool onServer() const override { return true; }
    EngineStatus addColumn(const FieldDescription& field) override;
    EngineStatus execute(const std::string& sql) override;

private:
    PgConnection& connection_;
    std::string tableName_;
};
