#pragma once
#include <ostream>
#include <string>

class TDMarsipstaf;
class TTable;

// A TABLE argument of the admin tool: a table object's name ("Tdatapeg") or
// its file name ("Datapegawai.db"), letter case ignored.
class TableArgument {
public:
    // The table of module; nullptr, with the known names on err, when none.
    static TTable* find(TDMarsipstaf& module, const std::string& text, std::ostream& err);
};
