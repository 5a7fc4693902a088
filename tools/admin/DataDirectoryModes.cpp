#include "DataDirectoryModes.h"

#include "TableFileAccess.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr mode_t otherUsers = 0007;

std::string octal(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

}  // namespace

std::vector<std::string> DataDirectoryModes::paths(const std::string& directory,
                                                   const std::vector<std::string>& tableNames)
{
    std::vector<std::string> all = {directory};
    for (const std::string& name : tableNames) {
        all.push_back(directory + "/" + name);
        for (const std::string& side : TableFileAccess::sideFiles(directory + "/" + name))
            all.push_back(side);
    }
    return all;
}

std::vector<std::string> DataDirectoryModes::exposed(const std::string& directory,
                                                     const std::vector<std::string>& tableNames)
{
    std::vector<std::string> warnings;
    for (const std::string& path : paths(directory, tableNames)) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || (info.st_mode & otherUsers) == 0)
            continue;
        std::string what = S_ISDIR(info.st_mode) ? "The data directory " : "The file ";
        std::string how = (info.st_mode & 0006) == 0006 ? "read and written"
                          : (info.st_mode & 0004)       ? "read"
                          : (info.st_mode & 0002)       ? "written"
                                                        : "entered";
        warnings.push_back(what + path + " can be " + how + " by other users (" + TableFileAccess::describe(info) +
                           "); fix: " + fixCommand);
    }
    return warnings;
}

std::vector<std::string> DataDirectoryModes::fix(const std::string& directory,
                                                 const std::vector<std::string>& tableNames)
{
    std::vector<std::string> done;
    for (const std::string& path : paths(directory, tableNames)) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || S_ISLNK(info.st_mode) || (info.st_mode & otherUsers) == 0)
            continue;
        mode_t mode = info.st_mode & 07777 & ~otherUsers;
        if (::chmod(path.c_str(), mode) == 0)
            done.push_back(path + ": mode " + octal(info.st_mode) + " -> " + octal(mode));
        else
            done.push_back(path + ": cannot change mode " + octal(info.st_mode) + ": " + std::strerror(errno));
    }
    return done;
}
