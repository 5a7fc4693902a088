#pragma once
#include <ostream>

// check: loads the data module exactly as the program does (reporting its
// first failure), then opens each of the nine tables through the alias
// rekam_induk and reports, in the program's own messages, every column, type
// or index the program needs and does not find, and every file that fails
// SQLite's integrity check, and whatever will make stores fail (a table
// file, directory or side file this user cannot write), naming the file and
// the cause. Exit code 0 when all is well, 1 otherwise. Files and a data
// directory other users can read or write are warned about (not counted);
// with fixModes their other-user bits are taken away first.
class CheckCommand {
public:
    static int run(std::ostream& out, std::ostream& err, bool fixModes = false);
};
