#pragma once
#include "BulkWriter.h"
#include "EngineCursor.h"
#include "EngineSnapshot.h"
#include "TableWriter.h"

#include <memory>
#include <string>

// One open database: the directory or the server schema an alias names.
class EngineDatabase {
public:
    virtual ~EngineDatabase() = default;
    virtual const std::string& directory() const = 0;
    // Open a table by file name ("Datapegawai.db"), shared and writable, on
    // its primary index (or indexName). A missing, unreadable, corrupt or
    // foreign file is an error naming the table and the path.
    virtual EngineStatus openTable(const std::string& tableName, const std::string& indexName,
                                   std::unique_ptr<EngineCursor>& out) = 0;
    // The tables as they stand now, read through a connection of its own.
    virtual EngineStatus openSnapshot(std::unique_ptr<EngineSnapshot>& out) = 0;
    // A writer of many records into one table in one transaction.
    virtual EngineStatus openWriter(const std::string& tableName, std::unique_ptr<TableWriter>& out) = 0;
    // A writer of many new records into one table, skipping taken keys: for
    // the admin tool's bulk commands.
    virtual EngineStatus openBulkWriter(const std::string& tableName, std::unique_ptr<BulkWriter>& out) = 0;
};
