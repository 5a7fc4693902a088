#pragma once
#include "EngineDatabase.h"

#include <ostream>
#include <string>

// generate N: adds N demonstration records to each record table of the
// database behind rekam_induk, files or server. A bulk tool: it writes in
// large transactions past the cursors (see BulkInsert), not record by record.
class GenerateCommand {
public:
    static int run(long long count, std::ostream& out, std::ostream& err);
    // The same into the table files of directory.
    static int runIn(const std::string& directory, long long count, std::ostream& out, std::ostream& err);
    static int runIn(EngineDatabase& database, long long count, std::ostream& out, std::ostream& err);
};
