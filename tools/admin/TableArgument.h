#pragma once
#include <memory>
#include <ostream>
#include <string>

class EngineDatabase;
class SqliteTableFile;
class TDMarsipstaf;
class TTable;

// A TABLE argument of the admin tool: a table object's name ("Tdatapeg") or
// its file name ("Datapegawai.db"), letter case ignored.
class TableArgument {
public:
    // The table of module; nullptr, with the known names on err, when none.
    static TTable* find(TDMarsipstaf& module, const std::string& text, std::ostream& err);
    // The file of table in the database behind the alias, opened for a
    // pass of its own; false, with the engine's message on err, when it
    // cannot be opened.
    static bool openFile(const TTable& table, std::unique_ptr<EngineDatabase>& database,
                         std::shared_ptr<SqliteTableFile>& file, std::ostream& err);
};
