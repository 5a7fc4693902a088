#include "TableFileAccess.h"

#include <cstdio>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t permissionBits = 0666;

std::string userName(uid_t uid)
{
    const passwd* user = ::getpwuid(uid);
    return user ? user->pw_name : std::to_string(uid);
}

std::string groupName(gid_t gid)
{
    const group* entry = ::getgrgid(gid);
    return entry ? entry->gr_name : std::to_string(gid);
}

std::string fileName(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string TableFileAccess::describe(const struct stat& info)
{
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    return std::string("mode ") + mode + ", owner " + userName(info.st_uid) + ":" + groupName(info.st_gid);
}

std::string TableFileAccess::directoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::vector<std::string> TableFileAccess::sideFiles(const std::string& tablePath)
{
    return {tablePath + "-wal", tablePath + "-shm", tablePath + ".lck"};
}

void TableFileAccess::mendSideFiles(const std::string& tablePath)
{
    struct stat table {};
    if (::stat(tablePath.c_str(), &table) != 0)
        return;
    for (const std::string& side : sideFiles(tablePath)) {
        struct stat info {};
        if (::lstat(side.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (::geteuid() == 0 && (info.st_uid != table.st_uid || info.st_gid != table.st_gid))
            (void)::lchown(side.c_str(), table.st_uid, table.st_gid);
        else if (info.st_gid != table.st_gid)
            (void)::lchown(side.c_str(), static_cast<uid_t>(-1), table.st_gid);
        if ((info.st_mode & 07777) != (table.st_mode & permissionBits))
            (void)::chmod(side.c_str(), table.st_mode & permissionBits);
    }
}

void TableFileAccess::matchTable(int fd, const std::string& tablePath)
{
    struct stat table {};
    if (::stat(tablePath.c_str(), &table) != 0)
        return;
    if (::geteuid() == 0)
        (void)::fchown(fd, table.st_uid, table.st_gid);
    else
        (void)::fchown(fd, static_cast<uid_t>(-1), table.st_gid);
    (void)::fchmod(fd, table.st_mode & permissionBits);
}

std::vector<std::string> TableFileAccess::writeProblems(const std::string& tablePath)
{
    std::vector<std::string> problems;
    struct stat info {};
    std::string directory = directoryOf(tablePath);
    if (::access(directory.c_str(), W_OK) != 0 && ::stat(directory.c_str(), &info) == 0)
        problems.push_back("The data directory " + directory + " cannot be written (" + describe(info) +
                           "): its tables open read-only.");
    if (::access(tablePath.c_str(), W_OK) != 0 && ::stat(tablePath.c_str(), &info) == 0)
        problems.push_back("The table file " + tablePath + " cannot be written (" + describe(info) +
                           "): it opens read-only.");
    for (const std::string& side : sideFiles(tablePath))
        if (::access(side.c_str(), W_OK) != 0 && ::stat(side.c_str(), &info) == 0)
            problems.push_back("The side file " + side + " cannot be written (" + describe(info) + "): stores into " +
                               fileName(tablePath) + " fail, so it opens read-only.");
    return problems;
}
