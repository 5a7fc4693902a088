#pragma once
#include <ostream>
#include <string>

// restore DIR [--force]: puts the tables of a backup back into the database
// behind rekam_induk. First every file of the backup is checked against the
// manifest (present, size, SHA-256, SQLite's integrity check, record count);
// a damaged or incomplete backup is refused and nothing is changed. A table
// of the database that holds records added after the backup was taken is
// not overwritten unless --force. Close the program before restoring.
class RestoreCommand {
public:
    static int run(const std::string& directory, bool force, std::ostream& out, std::ostream& err);
};
