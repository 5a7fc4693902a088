#pragma once
#include "EngineRecord.h"
#include "EngineStatus.h"
#include "TableDescription.h"

#include <cstdint>
#include <functional>
#include <string>

// The tables of one database as they stood at one moment, read past the
// cursors through a connection of its own: the program's cursors stay where
// they are and writers go on meanwhile. On a server every table is read in
// one transaction; table files are each read at the moment the snapshot
// first touches them. Ends with the object.
class EngineSnapshot {
public:
    // Called once per record; a failure stops the scan and is returned.
    using Each = std::function<EngineStatus(const EngineRecord&)>;

    virtual ~EngineSnapshot() = default;

    // Where the records come from, for messages: the directory or the
    // server's address without a password.
    virtual const std::string& location() const = 0;
    virtual EngineStatus describe(const std::string& tableName, TableDescription& out) = 0;
    virtual EngineStatus count(const std::string& tableName, std::int64_t& out) = 0;
    // The highest record number (bookmark) the table ever gave out; none is
    // ever given out twice.
    virtual EngineStatus lastRecordNumber(const std::string& tableName, std::int64_t& out) = 0;
    // Every record in the order of indexName (empty: the primary index), one
    // at a time: memory does not grow with the table.
    virtual EngineStatus scan(const std::string& tableName, const std::string& indexName, const Each& each) = 0;
    // Every record in the order of its record number.
    virtual EngineStatus scanByRecordNumber(const std::string& tableName, const Each& each) = 0;
    // Writes the table as this snapshot holds it into a new table file at
    // path (mode 0600, one plain file without a log beside it): its
    // description, its records under their record numbers and its highest
    // record number. A file at path is replaced.
    virtual EngineStatus writeTableFile(const std::string& tableName, const std::string& path) = 0;
};
