#pragma once
#include "CsvTextEncoding.h"

#include <ostream>
#include <string>

// import TABLE FILE.csv [--update] [--dry-run] [--encoding E]: adds the rows of a CSV file
// with the header export writes to a table of the database behind
// rekam_induk. Every row passes the checks of a clerk's entry
// (ImportRowCheck) and may not repeat a stored key, unless --update, which
// replaces the record of that key. Every field must be UTF-8, unless
// --encoding latin1 says the file is Latin-1, which is converted. All or nothing: the rows are stored in
// one transaction, committed only when no row is refused; each refused row
// is printed with its line number and reasons. --dry-run checks and
// reports but stores nothing. Exit code 0 when every row passed.
class ImportCommand {
public:
    struct Options {
        bool update = false;
        bool dryRun = false;
        CsvTextEncoding encoding;  // UTF-8 unless chosen otherwise
    };
    static int run(const std::string& table, const std::string& path, Options options, std::ostream& out,
                   std::ostream& err);
};
