#pragma once
#include "EngineCursor.h"

#include <memory>
#include <string>

// One open database: the directory an alias names.
class EngineDatabase {
public:
    virtual ~EngineDatabase() = default;
    virtual const std::string& directory() const = 0;
    // Open a table by file name ("Datapegawai.db"), shared and writable, on
    // its primary index (or indexName). A missing, unreadable, corrupt or
    // foreign file is an error naming the table and the path.
    virtual EngineStatus openTable(const std::string& tableName, const std::string& indexName,
                                   std::unique_ptr<EngineCursor>& out) = 0;
};
