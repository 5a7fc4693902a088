#pragma once
#include <ostream>
#include <string>

// init [--group NAME] [DIR]: creates the nine table files in DIR (default:
// the engine's default data directory), never replacing one, and points the
// alias rekam_induk at DIR in the engine configuration. Without a group the
// directory it makes is 0700 and the files 0600; with one, the directory is
// 2770 and the files 0660, both of that group. Given a server address
// (postgresql://... or service=NAME) it does the same in that database.
class InitCommand {
public:
    static int run(const std::string& directory, const std::string& group, std::ostream& out, std::ostream& err);
};
