#pragma once
#include <string>
#include <vector>

#include <sys/types.h>

// The table files hold every employee's personal data: the data directory,
// the table files and their side files must not be open to other users of
// the machine. A database made with init --group is shared with that group
// (its directory is set-group-ID); any other is private, its owner's alone.
class DataDirectoryModes {
public:
    static constexpr const char* fixCommand = "arsipstaf-admin check --fix-modes";

    // The modes init gives: 0700 and 0600 for a private database, 02770
    // and 0660 for a shared one (side files as their table).
    struct Modes {
        mode_t directory = 0700;
        mode_t file = 0600;
        bool shared = false;
    };
    static Modes modesOf(const std::string& directory);

    // One warning per file or directory others can reach (other users; the
    // group too when the database is private), naming it, its mode and the
    // command that fixes it.
    static std::vector<std::string> exposed(const std::string& directory, const std::vector<std::string>& tableNames);
    // Gives each of them exactly the modes init gives, after taking over side
    // files another account left (TableFileAccess::takeOverSideFiles); one
    // line per file changed, or saying what its owner or root must do.
    static std::vector<std::string> fix(const std::string& directory, const std::vector<std::string>& tableNames);

private:
    static std::vector<std::string> paths(const std::string& directory, const std::vector<std::string>& tableNames);
};
