#pragma once
#include "BulkWriter.h"
#include "SqliteStatement.h"
#include "SqliteTableFile.h"

#include <memory>
#include <string>

// BulkWriter on a table file: each run of rows is one INSERT OR IGNORE of
// many rows, which spares the per-statement work that costs more than
// storing a row. Rows per statement are kept under SQLite's oldest limit of
// 999 parameters.
class SqliteBulkWriter : public BulkWriter {
public:
    static EngineStatus open(const std::string& directory, const std::string& tableName,
                             std::unique_ptr<BulkWriter>& out);
    ~SqliteBulkWriter() override;

    const TableDescription& description() const override { return file_->description(); }
    size_t rowsPerStore() const override { return rowsPerStatement(file_->description().fields.size()); }
    EngineStatus store(const std::vector<std::vector<FieldValue>>& rows, std::int64_t& added) override;
    EngineStatus commit() override;
    EngineStatus failure(EngineCode code, const std::string& message) const override
    {
        return file_->failure(code, message);
    }

    static size_t rowsPerStatement(size_t columns);

private:
    explicit SqliteBulkWriter(std::shared_ptr<SqliteTableFile> file) : file_(std::move(file)) {}
    EngineStatus begin();

    std::shared_ptr<SqliteTableFile> file_;
    std::unique_ptr<SqliteStatement> insert_;  // for a full run of rowsPerStore() rows
    bool inTransaction_ = false;
};
