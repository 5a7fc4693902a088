#pragma once
#include <ostream>
#include <string>

// copy FROM TO: copies the nine tables of a database, each of FROM and TO a
// directory of table files or a server address, either way. Missing target
// tables are created first. A target table that holds records (other than
// the codes a new database starts with) is refused before anything is
// written. After the copy every table is read back on both sides and must
// hold the same number of records with the same values.
class CopyCommand {
public:
    static int run(const std::string& from, const std::string& to, std::ostream& out, std::ostream& err);
};
