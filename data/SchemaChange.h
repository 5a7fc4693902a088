#pragma once
#include "EngineStatus.h"
#include "FieldDescription.h"

#include <string>

// What an upgrade step may do to one table, the same on table files and on
// a server. It runs inside the upgrade's transaction: whatever a step does is
// kept only when every step of the upgrade succeeded.
class SchemaChange {
public:
    virtual ~SchemaChange() = default;
    // The table being upgraded ("Datapegawai.db").
    virtual const std::string& tableName() const = 0;
    virtual bool onServer() const = 0;
    // Appends a column: made, described, and every record given its default
    // (field.defaultValue when hasDefault, else '' for text and no date).
    virtual EngineStatus addColumn(const FieldDescription& field) = 0;
    // The engine's own statements, for what addColumn cannot say. "{table}"
    // is replaced by the table's records ("records" in a table file, the
    // qualified table on the server) and "{schema}" by the server's schema
    // ("main" in a table file).
    virtual EngineStatus execute(const std::string& sql) = 0;
};
