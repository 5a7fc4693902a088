#pragma once
#include "EngineStatus.h"
#include "FieldValue.h"
#include "TableDescription.h"

#include <cstdint>
#include <vector>

// Adds many rows to one table in large transactions, past the cursors; a
// row whose key is taken is skipped. Inside a transaction the caller began
// (a copy onto a server), the caller commits. Dropped before commit(), it
// rolls back what it began.
class BulkWriter {
public:
    virtual ~BulkWriter() = default;
    virtual const TableDescription& description() const = 0;
    // How many rows one store() takes best.
    virtual size_t rowsPerStore() const = 0;
    // Stores rows (one value per column, in table order, null for no value,
    // texts no longer than their fields) in the order given; added counts
    // those stored. A writer may return while its database still takes the
    // rows (see unsettled()): added then counts the rows this call saw
    // stored, its own or an earlier call's, and until the next store(),
    // settle() or commit() the database's session is busy and must not be
    // used for anything else.
    virtual EngineStatus store(const std::vector<std::vector<FieldValue>>& rows, std::int64_t& added) = 0;
    // Rows given to store() whose fate is not known yet.
    virtual size_t unsettled() const { return 0; }
    // Waits until the database has taken every row given; added counts those
    // of them stored.
    virtual EngineStatus settle(std::int64_t& added)
    {
        added = 0;
        return EngineStatus::success();
    }
    // Settles (what it adds is lost to the caller: settle first) and commits.
    virtual EngineStatus commit() = 0;
    // A failure naming the table.
    virtual EngineStatus failure(EngineCode code, const std::string& message) const = 0;
};
