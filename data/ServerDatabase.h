#pragma once
#include "EngineDatabase.h"
#include "TableDescription.h"

#include <memory>
#include <string>
#include <vector>

// A database on a server, as the admin tool sees it beyond what every
// database offers: scripts and the schema's tables made.
class ServerDatabase : public EngineDatabase {
public:
    // Runs one or more statements without parameters (BEGIN, COMMIT ...) on
    // the database's session.
    virtual EngineStatus runScript(const std::string& sql, const std::string& what) = 0;
    // Makes the schema ready for tables: the description tables.
    virtual EngineStatus prepareSchema() = 0;
    virtual bool hasTable(const std::string& tableName) = 0;
    // Creates a table and stores rows in it (values in column order).
    virtual EngineStatus createTable(const TableDescription& description,
                                     const std::vector<std::vector<std::string>>& rows) = 0;
};
