#pragma once
#include "EngineRecord.h"
#include "EngineStatus.h"
#include "TableDescription.h"

#include <cstdint>
#include <vector>

// Stores many records into one table in one transaction, past the cursors
// and their record locks: for the admin tool's imports and restores.
// Nothing is visible to others before commit(); a writer dropped without it
// leaves the table as it was. Other writers wait meanwhile.
class TableWriter {
public:
    virtual ~TableWriter() = default;

    virtual const TableDescription& description() const = 0;
    // Stores a new record; KeyViolation (nothing stored) when a unique key
    // of the table is taken.
    virtual EngineStatus insert(const EngineRecord& record) = 0;
    // Gives the stored record whose keyColumns hold record's values the rest
    // of record's values; RecordNotFound when no record has that key.
    virtual EngineStatus replace(const std::vector<int>& keyColumns, const EngineRecord& record) = 0;
    // Deletes every record.
    virtual EngineStatus removeAll() = 0;
    // Stores record under its own record number (record.bookmark).
    virtual EngineStatus insertNumbered(const EngineRecord& record) = 0;
    // Makes last the highest record number the table ever gave out, so the
    // next new record gets a higher one.
    virtual EngineStatus setLastRecordNumber(std::int64_t last) = 0;
    virtual EngineStatus commit() = 0;
};
