#pragma once
#include "PgConnection.h"
#include "ServerDatabase.h"

#include <memory>
#include <string>

// A database on a server: the schema of the address the alias names. Its
// tables are opened by their file names ("Datapegawai.db").
class PgDatabase : public ServerDatabase {
public:
    explicit PgDatabase(std::shared_ptr<PgConnection> connection) : connection_(std::move(connection)) {}

    // The server's address without any password.
    const std::string& directory() const override { return connection_->location(); }
    std::string identity() const override { return connection_->location() + " " + connection_->schema(); }
    EngineStatus openTable(const std::string& tableName, const std::string& indexName,
                           std::unique_ptr<EngineCursor>& out) override;
    EngineStatus openSnapshot(std::unique_ptr<EngineSnapshot>& out) override;
    EngineStatus openWriter(const std::string& tableName, std::unique_ptr<TableWriter>& out) override;

    EngineStatus runScript(const std::string& sql, const std::string& what) override;
    EngineStatus prepareSchema() override;
    bool hasTable(const std::string& tableName) override;
    EngineStatus createTable(const TableDescription& description,
                             const std::vector<std::vector<std::string>>& rows) override;
    EngineStatus openBulkWriter(const std::string& tableName, std::unique_ptr<BulkWriter>& out) override;

    EngineStatus schemaVersions(const std::vector<std::string>& tableNames, std::map<std::string, int>& out) override;
    EngineStatus upgradeSchema(const std::vector<std::string>& tableNames, const SchemaSteps& steps,
                               const std::function<void(const std::string&)>& say) override;
    PgConnection& connection() const { return *connection_; }
    const std::shared_ptr<PgConnection>& sharedConnection() const { return connection_; }

private:
    std::shared_ptr<PgConnection> connection_;
};
