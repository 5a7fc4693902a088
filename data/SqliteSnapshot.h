#pragma once
#include "EngineSnapshot.h"

#include <map>
#include <memory>
#include <string>

class SqliteTableFile;

// A snapshot of the table files of one directory: each file is opened
// afresh and read in one read transaction begun when the snapshot first
// touches it.
class SqliteSnapshot : public EngineSnapshot {
public:
    explicit SqliteSnapshot(std::string directory) : directory_(std::move(directory)) {}
    ~SqliteSnapshot() override;

    const std::string& location() const override { return directory_; }
    EngineStatus describe(const std::string& tableName, TableDescription& out) override;
    EngineStatus count(const std::string& tableName, std::int64_t& out) override;
    EngineStatus lastRecordNumber(const std::string& tableName, std::int64_t& out) override;
    EngineStatus scan(const std::string& tableName, const std::string& indexName, const Each& each) override;
    EngineStatus scanByRecordNumber(const std::string& tableName, const Each& each) override;
    // Through SQLite's online backup, inside this snapshot's read transaction.
    EngineStatus writeTableFile(const std::string& tableName, const std::string& path) override;

private:
    EngineStatus file(const std::string& tableName, SqliteTableFile*& out);
    EngineStatus scanSql(SqliteTableFile& file, const std::string& sql, const Each& each);

    std::string directory_;
    std::map<std::string, std::shared_ptr<SqliteTableFile>> files_;
};
