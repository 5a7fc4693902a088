#pragma once
#include "TableDescription.h"

#include <memory>
#include <ostream>
#include <string>

class EngineDatabase;
class EngineSnapshot;
class TDMarsipstaf;
class TTable;

// A TABLE argument of the admin tool: a table object's name ("Tdatapeg") or
// its file name ("Datapegawai.db"), letter case ignored.
class TableArgument {
public:
    // The table of module; nullptr, with the known names on err, when none.
    static TTable* find(TDMarsipstaf& module, const std::string& text, std::ostream& err);
    // The database behind the alias and a snapshot of it holding table,
    // whose description goes to description; false, with the engine's
    // message on err, when the table cannot be read.
    static bool openSnapshot(const TTable& table, std::unique_ptr<EngineDatabase>& database,
                             std::unique_ptr<EngineSnapshot>& snapshot, TableDescription& description,
                             std::ostream& err);
};
