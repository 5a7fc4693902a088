#pragma once
#include <ostream>

// check: opens the nine tables through the alias rekam_induk as the program
// does and reports, in the program's own messages, every column, type or
// index the program needs and does not find, and every file that fails
// SQLite's integrity check. Exit code 0 when all is well, 1 otherwise.
class CheckCommand {
public:
    static int run(std::ostream& out, std::ostream& err);
};
