#pragma once
#include "BulkWriter.h"
#include "EngineDatabase.h"
#include "FieldValue.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Adds many records to one table in large transactions, past the cursors:
// for the admin tool's bulk commands, on table files or on a server alike.
// A record whose key is already taken is skipped.
class BulkInsert {
public:
    static EngineStatus open(EngineDatabase& database, const std::string& tableName, std::unique_ptr<BulkInsert>& out);

    const TableDescription& description() const { return writer_->description(); }
    // values: one per column in table order; empty text of a date is no date.
    EngineStatus add(const std::vector<FieldValue>& values);
    EngineStatus add(std::vector<FieldValue>&& values);
    // Stores what is pending and commits.
    EngineStatus flush();
    // Records stored so far, and records given but not yet stored (those the
    // engine still takes among them).
    std::int64_t added() const { return added_; }
    std::int64_t pending() const { return static_cast<std::int64_t>(rows_.size() + writer_->unsettled()); }
    // Records given to the engine at a time.
    size_t rowsPerStore() const { return writer_->rowsPerStore(); }

private:
    BulkInsert() = default;
    EngineStatus store();

    std::unique_ptr<BulkWriter> writer_;
    std::vector<std::vector<FieldValue>> rows_;  // rows for the next store
    std::int64_t inBatch_ = 0;
    std::int64_t added_ = 0;
};
