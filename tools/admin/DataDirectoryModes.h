#pragma once
#include <string>
#include <vector>

// The table files hold every employee's personal data: the data directory,
// the table files and their side files must not be open to other users of
// the machine (a group the office shares them with is fine).
class DataDirectoryModes {
public:
    static constexpr const char* fixCommand = "arsipstaf-admin check --fix-modes";

    // One warning per file or directory other users can read or write,
    // naming it, its mode and the command that fixes it.
    static std::vector<std::string> exposed(const std::string& directory, const std::vector<std::string>& tableNames);
    // Takes the other users' bits away from each of them; one line per file
    // changed, or naming the file that could not be changed.
    static std::vector<std::string> fix(const std::string& directory, const std::vector<std::string>& tableNames);

private:
    static std::vector<std::string> paths(const std::string& directory, const std::vector<std::string>& tableNames);
};
