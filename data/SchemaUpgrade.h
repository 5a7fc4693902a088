#pragma once
#include "EngineDatabase.h"

#include <functional>
#include <string>
#include <vector>

// Brings a database's tables to the shape version the program knows
// (SchemaSteps::active()). Opening a database through the session does it
// (onOpen); `arsipstaf-admin upgrade` does it on demand (run).
class SchemaUpgrade {
public:
    using Say = std::function<void(const std::string&)>;

    // The tables of a database, in the data module's order.
    static std::vector<std::string> tableNames();

    // A table of a newer version than the program knows fails with
    // SchemaNewer naming both versions, and nothing is written. Older tables
    // are upgraded: say is told so, a backup is taken first (table files:
    // into a dated folder beside the data directory; a server upgrades in
    // one transaction, which is its backup), then every step runs and is
    // told. dryRun tells the steps and writes nothing.
    static EngineStatus run(EngineDatabase& database, bool dryRun, const Say& say);
    // run, once per database and process: a database found at the known
    // version is not read again.
    static EngineStatus onOpen(EngineDatabase& database, const Say& say);
};
