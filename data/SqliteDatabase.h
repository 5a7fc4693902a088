#pragma once
#include "EngineDatabase.h"

#include <string>

// A directory of table files, each file one table ("Datapegawai.db").
class SqliteDatabase : public EngineDatabase {
public:
    explicit SqliteDatabase(std::string directory) : directory_(std::move(directory)) {}

    const std::string& directory() const override { return directory_; }
    EngineStatus openTable(const std::string& tableName, const std::string& indexName,
                           std::unique_ptr<EngineCursor>& out) override;
    EngineStatus openSnapshot(std::unique_ptr<EngineSnapshot>& out) override;
    EngineStatus openWriter(const std::string& tableName, std::unique_ptr<TableWriter>& out) override;
    EngineStatus schemaVersions(const std::vector<std::string>& tableNames, std::map<std::string, int>& out) override;
    EngineStatus upgradeSchema(const std::vector<std::string>& tableNames, const SchemaSteps& steps,
                               const std::function<void(const std::string&)>& say) override;

private:
    std::string directory_;
};
