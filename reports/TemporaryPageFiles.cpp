#include "TemporaryPageFiles.h"

#include "EReportError.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char prefix[] = "RPF";

// The files of this process, for the signal handler: a fixed table, since a
// handler may not allocate. A slot is filled before it is marked used.
constexpr int slotCount = 64;
struct Slot {
    std::atomic<bool> used{false};
    char path[PATH_MAX];
};
Slot slots[slotCount];

void enter(const std::string& name)
{
    if (name.size() >= PATH_MAX)
        return;
    for (Slot& slot : slots) {
        if (slot.used.load())
            continue;
        std::memcpy(slot.path, name.c_str(), name.size() + 1);
        slot.used.store(true);
        return;
    }
}

void leave(const std::string& name)
{
    for (Slot& slot : slots)
        if (slot.used.load() && name == slot.path) {
            slot.used.store(false);
            return;
        }
}

extern "C" void removeAndEnd(int signal)
{
    for (Slot& slot : slots)
        if (slot.used.load())
            ::unlink(slot.path);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

std::string reason(int error)
{
    return std::strerror(error);
}

// RPF<digits>-<6 characters>: the names create() gives.
bool namedAsOurs(const char* name)
{
    if (std::strncmp(name, prefix, sizeof prefix - 1) != 0)
        return false;
    const char* p = name + sizeof prefix - 1;
    const char* digits = p;
    while (*p >= '0' && *p <= '9')
        ++p;
    if (p == digits || *p != '-')
        return false;
    return std::strlen(p + 1) == 6;
}

}  // namespace

std::string TemporaryPageFiles::folder()
{
    const char* set = std::getenv("TMPDIR");
    const std::string path = set && *set ? set : "/tmp";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw EReportError("The temporary folder \"" + path + "\" cannot be used: " + reason(errno));
    if (!S_ISDIR(info.st_mode))
        throw EReportError("The temporary folder \"" + path + "\" is not a folder");
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        throw EReportError("The temporary folder \"" + path + "\" cannot be written: " + reason(errno));
    return path;
}

std::FILE* TemporaryPageFiles::create(std::string& name)
{
    std::string path = folder() + "/" + prefix + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd < 0)
        throw EReportError("Cannot create a temporary file for the report in \"" + folder() + "\": " + reason(errno));
    enter(path);
    // The lock says the file is in use; it goes when the process does.
    std::FILE* file = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? ::fdopen(fd, "w+b") : nullptr;
    if (!file) {
        const int error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        leave(path);
        throw EReportError("Cannot create a temporary file for the report in \"" + folder() + "\": " + reason(error));
    }
    name = path;
    return file;
}

void TemporaryPageFiles::kept(std::FILE* file, const std::string& name)
{
    leave(name);
    if (file)
        ::flock(::fileno(file), LOCK_UN);
}

void TemporaryPageFiles::remove(std::FILE* file, const std::string& name)
{
    ::unlink(name.c_str());
    leave(name);
    if (file)
        std::fclose(file);
}

int TemporaryPageFiles::removeLeftovers()
{
    std::string path;
    try {
        path = folder();
    } catch (const EReportError&) {
        return 0;  // nothing to tidy where nothing can be written
    }
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!namedAsOurs(entry->d_name))
            continue;
        const std::string file = path + "/" + entry->d_name;
        const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        const bool ours = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
        // A live run holds its lock; a killed one no longer does.
        if (ours && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(file.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

void TemporaryPageFiles::removeOnTermination()
{
    struct sigaction action {};
    action.sa_handler = removeAndEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}
