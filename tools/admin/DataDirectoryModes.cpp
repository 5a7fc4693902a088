#include "DataDirectoryModes.h"

#include "TableFileAccess.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

namespace {

std::string octal(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string groupName(gid_t gid)
{
    const group* entry = ::getgrgid(gid);
    return entry ? entry->gr_name : std::to_string(gid);
}

// What a class of users may do, by its three permission bits.
std::string access(mode_t bits)
{
    return (bits & 06) == 06 ? "read and written" : (bits & 04) ? "read" : (bits & 02) ? "written" : "entered";
}

}  // namespace

DataDirectoryModes::Modes DataDirectoryModes::modesOf(const std::string& directory)
{
    // init --group gives the data directory the set-group-ID bit (new files
    // take its group) and the group; a database made without it is private.
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0)
        return Modes{};
    const passwd* owner = ::getpwuid(info.st_uid);
    bool shared = (info.st_mode & S_ISGID) != 0 || (owner && owner->pw_gid != info.st_gid);
    return shared ? Modes{.directory = 02770, .file = 0660, .shared = true} : Modes{};
}

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
    Modes modes = modesOf(directory);
    mode_t foreign = modes.shared ? 0007 : 0077;
    std::vector<std::string> warnings;
    for (const std::string& path : paths(directory, tableNames)) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || (info.st_mode & foreign) == 0)
            continue;
        std::string what = S_ISDIR(info.st_mode) ? "The data directory " : "The file ";
        std::string how = (info.st_mode & 0007) ? access(info.st_mode & 07) + " by other users"
                                                : access((info.st_mode >> 3) & 07) + " by the group " +
                                                      groupName(info.st_gid) + " of a private database";
        warnings.push_back(what + path + " can be " + how + " (" + TableFileAccess::describe(info) +
                           "); fix: " + fixCommand);
    }
    return warnings;
}

std::vector<std::string> DataDirectoryModes::fix(const std::string& directory,
                                                 const std::vector<std::string>& tableNames)
{
    std::vector<std::string> done;
    for (const std::string& name : tableNames)
        for (const std::string& line : TableFileAccess::takeOverSideFiles(directory + "/" + name))
            done.push_back(line);
    Modes modes = modesOf(directory);
    for (const std::string& path : paths(directory, tableNames)) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || S_ISLNK(info.st_mode))
            continue;
        mode_t mode = S_ISDIR(info.st_mode) ? modes.directory : modes.file;
        if ((info.st_mode & 07777) == mode)
            continue;
        if (::chmod(path.c_str(), mode) == 0)
            done.push_back(path + ": mode " + octal(info.st_mode) + " -> " + octal(mode));
        else if (errno == EPERM)
            done.push_back(path + ": cannot change " + TableFileAccess::describe(info) +
                           ": its owner or root must run: chmod " + octal(mode) + " " + path);
        else
            done.push_back(path + ": cannot change mode " + octal(info.st_mode) + ": " + std::strerror(errno));
    }
    return done;
}
