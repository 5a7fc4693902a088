#pragma once
#include "BulkWriter.h"
#include "EngineCursor.h"
#include "EngineSnapshot.h"
#include "SchemaSteps.h"
#include "TableWriter.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One open database: the directory or the server schema an alias names.
class EngineDatabase {
public:
    virtual ~EngineDatabase() = default;
    virtual const std::string& directory() const = 0;
    // What tells this database from every other: the directory, or the
    // server's address with the schema (several schemas share one server).
    virtual std::string identity() const { return directory(); }
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

    // The shape version (SchemaSteps) of each of tableNames that is there;
    // a table missing or beyond reading is left out (opening it says why).
    virtual EngineStatus schemaVersions(const std::vector<std::string>& tableNames,
                                        std::map<std::string, int>& out) = 0;
    // Brings each of tableNames that is there to steps.version(), telling say
    // one line per step: table files each in a transaction of their own, a
    // server all in one. A table already there is left untouched; one of a
    // newer version fails with SchemaNewer, that table (on a server, every
    // table) unchanged.
    virtual EngineStatus upgradeSchema(const std::vector<std::string>& tableNames, const SchemaSteps& steps,
                                       const std::function<void(const std::string&)>& say) = 0;
};
