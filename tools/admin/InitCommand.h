#pragma once
#include <ostream>
#include <string>

// init [DIR]: creates the nine table files in DIR (default: the engine's
// default data directory), never replacing one, and points the alias
// rekam_induk at DIR in the engine configuration. Given a server address
// (postgresql://... or service=NAME) it does the same in that database.
class InitCommand {
public:
    static int run(const std::string& directory, std::ostream& out, std::ostream& err);
};
