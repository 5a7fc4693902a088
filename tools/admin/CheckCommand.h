#pragma once
#include <ostream>

// check: loads the data module exactly as the program does (reporting its
// first failure), then opens each of the nine tables through the alias
// rekam_induk and reports, in the program's own messages, every column, type
// or index the program needs and does not find, and every file that fails
// SQLite's integrity check. Exit code 0 when all is well, 1 otherwise.
class CheckCommand {
public:
    static int run(std::ostream& out, std::ostream& err);
};
