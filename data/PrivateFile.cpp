#include "PrivateFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t privateMode = 0600;

}  // namespace

bool PrivateFile::prepare(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, privateMode);
    if (fd < 0)
        return errno == EEXIST;
    (void)::fchmod(fd, privateMode);  // the umask may have taken bits away, never added any
    ::close(fd);
    return true;
}

void PrivateFile::takeModes(const std::string& replacement, const std::string& target)
{
    struct stat info {};
    mode_t mode = ::stat(target.c_str(), &info) == 0 ? info.st_mode & 07777 : privateMode;
    (void)::chmod(replacement.c_str(), mode);
}
