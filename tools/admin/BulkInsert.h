#pragma once
#include "EngineDatabase.h"
#include "FieldValue.h"
#include "ServerBulkWriter.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SqliteStatement;
class SqliteTableFile;

// Adds many records to one table in large transactions, past the cursors:
// for the admin tool's bulk commands, on table files or on a server alike.
// A record whose key is already taken is skipped.
class BulkInsert {
public:
    static EngineStatus open(EngineDatabase& database, const std::string& tableName, std::unique_ptr<BulkInsert>& out);
    ~BulkInsert();

    const TableDescription& description() const;
    // values: one per column in table order; empty text of a date is no date.
    EngineStatus add(const std::vector<FieldValue>& values);
    EngineStatus add(std::vector<FieldValue>&& values);
    // Stores what is pending and commits.
    EngineStatus flush();
    // Records stored so far, and records given but not yet stored.
    std::int64_t added() const { return added_; }
    std::int64_t pending() const { return static_cast<std::int64_t>(fileRows_.size()); }

    static constexpr std::int64_t rowsPerStatement = 10000;  // server
    // Table files: rows per INSERT, kept under SQLite's oldest limit of 999
    // parameters. One statement for many rows spares the per-statement work
    // that costs more than storing a row.
    static int rowsPerFileStatement(size_t columns);

private:
    BulkInsert() = default;
    EngineStatus addToFile(std::vector<FieldValue>&& values);
    EngineStatus insertFileRows();
    EngineStatus beginFileTransaction();
    EngineStatus flushToServer();

    std::shared_ptr<SqliteTableFile> file_;
    std::unique_ptr<SqliteStatement> insert_;        // for a full run of rowsPerFileStatement rows
    std::vector<std::vector<FieldValue>> fileRows_;  // rows for the next statement
    std::unique_ptr<ServerBulkWriter> table_;
    bool inTransaction_ = false;
    std::int64_t inBatch_ = 0;
    std::int64_t added_ = 0;
};
