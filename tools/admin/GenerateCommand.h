#pragma once
#include <ostream>
#include <string>

// generate N: adds N demonstration records to each record table of the
// database behind rekam_induk. A bulk tool: it writes through SQLite directly
// in large transactions, not record by record through the engine.
class GenerateCommand {
public:
    static int run(long long count, std::ostream& out, std::ostream& err);
    // The same into the table files of directory.
    static int runIn(const std::string& directory, long long count, std::ostream& out, std::ostream& err);
};
