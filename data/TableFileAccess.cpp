#include "TableFileAccess.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

std::string octal(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string fileName(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string TableFileAccess::describe(const struct stat& info)
{
    return "mode " + octal(info.st_mode) + ", owner " + userName(info.st_uid) + ":" + groupName(info.st_gid);
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

bool TableFileAccess::inUse(const std::string& tablePath)
{
    int fd = ::open((tablePath + "-shm").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno != ENOENT;  // a shared memory this account cannot read may be in use
    // Every open connection holds a read lock on this byte of the shared
    // memory (SQLite's "dead man switch"), from its first read to its close.
    constexpr off_t deadManSwitch = 128;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = deadManSwitch;
    probe.l_len = 1;
    bool used = ::fcntl(fd, F_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
    ::close(fd);
    return used;
}

namespace {

// A copy of side owned by this process, with the table's bits and group,
// renamed over it. Empty when done, else why not.
std::string copyOver(const std::string& side, const struct stat& table)
{
    int from = ::open(side.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return std::strerror(errno);
    std::string part = side + ".XXXXXX";
    int to = ::mkostemp(part.data(), O_CLOEXEC);
    if (to < 0) {
        int error = errno;
        ::close(from);
        return std::strerror(error);
    }
    char buffer[65536];
    ssize_t got = 0;
    bool ok = true;
    while (ok && (got = ::read(from, buffer, sizeof buffer)) > 0)
        ok = ::write(to, buffer, static_cast<size_t>(got)) == got;
    ok = ok && got == 0;
    (void)::fchown(to, static_cast<uid_t>(-1), table.st_gid);
    ok = ok && ::fchmod(to, table.st_mode & permissionBits) == 0 && ::fsync(to) == 0;
    int error = errno;
    ::close(from);
    ::close(to);
    if (ok && ::rename(part.c_str(), side.c_str()) == 0)
        return std::string();
    error = ok ? errno : error;
    ::unlink(part.c_str());
    return std::strerror(error);
}

}  // namespace

std::vector<std::string> TableFileAccess::takeOverSideFiles(const std::string& tablePath)
{
    std::vector<std::string> lines;
    struct stat table {};
    if (::stat(tablePath.c_str(), &table) != 0)
        return lines;
    std::vector<std::string> foreign;
    for (const std::string& side : sideFiles(tablePath)) {
        struct stat info {};
        if (::lstat(side.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid != ::geteuid() &&
            ::geteuid() != 0 && (info.st_mode & 07777) != (table.st_mode & permissionBits))
            foreign.push_back(side);
    }
    if (foreign.empty())
        return lines;
    std::string directory = directoryOf(tablePath);
    std::string blocker = ::access(directory.c_str(), W_OK) != 0 ? "this account cannot write " + directory
                          : inUse(tablePath)                     ? "the table is in use"
                                                                 : std::string();
    // The log goes first: its copy must be in place before the shared
    // memory that indexes it is made again.
    for (const std::string& side : foreign) {
        struct stat info {};
        ::lstat(side.c_str(), &info);
        std::string why = blocker;
        if (why.empty()) {
            bool log = side.size() > 4 && side.compare(side.size() - 4, 4, "-wal") == 0;
            why = log ? copyOver(side, table) : (::unlink(side.c_str()) == 0 ? std::string() : std::strerror(errno));
        }
        if (why.empty())
            lines.push_back(side + ": " + describe(info) + " -> replaced by this account's own");
        else
            lines.push_back(side + ": " + describe(info) + "; cannot replace it (" + why + "): its owner " +
                            userName(info.st_uid) + " or root must run: chmod " +
                            octal(table.st_mode & permissionBits) + " " + side);
    }
    return lines;
}
