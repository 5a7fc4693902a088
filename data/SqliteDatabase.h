#pragma once
#include "EngineDatabase.h"

#include <memory>
#include <string>

class TableFilesAhead;

// A directory of table files, each file one table ("Datapegawai.db").
class SqliteDatabase : public EngineDatabase {
public:
    // ahead: files the session opened ahead for this directory, taken by
    // openTable in place of opening them again.
    explicit SqliteDatabase(std::string directory, std::shared_ptr<TableFilesAhead> ahead = nullptr)
        : directory_(std::move(directory)), ahead_(std::move(ahead))
    {
    }

    const std::string& directory() const override { return directory_; }
    EngineStatus openTable(const std::string& tableName, const std::string& indexName,
                           std::unique_ptr<EngineCursor>& out) override;
    EngineStatus openSnapshot(std::unique_ptr<EngineSnapshot>& out) override;
    EngineStatus openWriter(const std::string& tableName, std::unique_ptr<TableWriter>& out) override;
    EngineStatus openBulkWriter(const std::string& tableName, std::unique_ptr<BulkWriter>& out) override;
    EngineStatus schemaVersions(const std::vector<std::string>& tableNames, std::map<std::string, int>& out) override;
    EngineStatus upgradeSchema(const std::vector<std::string>& tableNames, const SchemaSteps& steps,
                               const std::function<void(const std::string&)>& say) override;

private:
    std::string directory_;
    std::shared_ptr<TableFilesAhead> ahead_;
};
