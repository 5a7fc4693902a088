#pragma once
#include "SqliteStatement.h"
#include "SqliteTransaction.h"
#include "TableWriter.h"

#include <map>
#include <memory>
#include <string>

class SqliteTableFile;

// A table file written in one write transaction, held from the opening on:
// other writers wait meanwhile.
class SqliteTableWriter : public TableWriter {
public:
    static EngineStatus open(const std::string& directory, const std::string& tableName,
                             std::unique_ptr<TableWriter>& out);
    ~SqliteTableWriter() override;

    const TableDescription& description() const override;
    EngineStatus insert(const EngineRecord& record) override;
    EngineStatus replace(const std::vector<int>& keyColumns, const EngineRecord& record) override;
    EngineStatus removeAll() override;
    EngineStatus insertNumbered(const EngineRecord& record) override;
    EngineStatus setLastRecordNumber(std::int64_t last) override;
    EngineStatus commit() override;

private:
    explicit SqliteTableWriter(std::shared_ptr<SqliteTableFile> file);
    EngineStatus prepared(const std::string& sql, SqliteStatement*& out);
    EngineStatus run(SqliteStatement& statement, const char* what);

    std::shared_ptr<SqliteTableFile> file_;
    SqliteTransaction transaction_;
    std::map<std::string, std::unique_ptr<SqliteStatement>> statements_;
};
