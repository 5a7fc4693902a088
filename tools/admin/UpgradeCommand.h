#pragma once
#include <ostream>

// upgrade [--dry-run]: brings every table of the database behind rekam_induk
// to the shape version the program knows, as opening does (a backup first
// for table files), printing each step; --dry-run prints the steps and
// changes nothing.
class UpgradeCommand {
public:
    static int run(bool dryRun, std::ostream& out, std::ostream& err);
};
