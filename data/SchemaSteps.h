#pragma once
#include "SchemaChange.h"
#include "SchemaStep.h"

#include <functional>
#include <string>
#include <vector>

// The shape versions the program knows: version 1 is the shape the tables
// were first made in (DefaultTableFiles), and steps[i] takes a table from
// version i + 1 to i + 2. A new database is made in version 1 and brought up
// by the same steps, so new and upgraded databases never differ.
//
// To change a shape: append a step to program() in SchemaSteps.cpp (never
// change or reorder one already released). Every table file records its
// version (SQLite's user_version), the server one row per table in
// arsipstaf_versions; SchemaUpgrade applies the steps when a database is
// opened (docs/table-files.md, docs/server-database.md).
class SchemaSteps {
public:
    std::vector<SchemaStep> steps;

    // The version a database has once every step ran.
    int version() const { return 1 + static_cast<int>(steps.size()); }

    // Runs the steps from version from up to version() on one table,
    // telling say one line per step ("Datapegawai.db: version 1 to 2: ...").
    EngineStatus run(SchemaChange& change, int from, const std::function<void(const std::string&)>& say) const;
    // The lines run would say, without running anything.
    std::vector<std::string> plan(const std::string& tableName, int from) const;

    // What opening a table of a later version than version() says: the
    // message and the line naming both versions.
    static std::string newerMessage();
    static std::string newerDetail(const std::string& tableName, int found, int known);

    // The program's own steps.
    static const SchemaSteps& program();
    // The steps in force: program()'s unless a test installed others.
    static const SchemaSteps& active();
    // Installs other steps (a test's), or the program's again with nullptr.
    // Counts the installs, so a database checked under one list is checked
    // again under the next.
    static void install(const SchemaSteps* steps);
    static int installs();
};
