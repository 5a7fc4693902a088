#include "ReplacingFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A symbolic link names the file to replace; a missing target stays as given.
std::string resolved(const std::string& target)
{
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return target;
    char buffer[PATH_MAX];
    return ::realpath(target.c_str(), buffer) ? std::string(buffer) : target;
}

bool syncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool synced = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
    ::close(fd);
    return synced;
}

}  // namespace

ReplacingFile::ReplacingFile(std::string target, mode_t newMode) : target_(resolved(target)), mode_(newMode)
{
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
            if (fd_ < 0)
                fail("Cannot open " + target_, errno);
            return;
        }
        mode_ = info.st_mode & 07777;
        group_ = info.st_gid;
    }
    size_t slash = target_.rfind('/');
    std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::string pattern =
        (slash == std::string::npos ? std::string() : target_.substr(0, slash + 1)) + "." + name + ".XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
        fail("Cannot create a file in " + folderOf(target_), errno);
        return;
    }
    temporary_ = pattern;
    // Private while it fills; the final mode is given just before the rename.
    (void)::fchmod(fd_, 0600);
}

ReplacingFile::~ReplacingFile()
{
    if (stream_)
        std::fclose(stream_);
    else if (fd_ >= 0)
        ::close(fd_);
    if (!committed_ && !temporary_.empty())
        ::unlink(temporary_.c_str());
}

std::FILE* ReplacingFile::stream()
{
    if (!stream_ && fd_ >= 0) {
        stream_ = ::fdopen(fd_, "wb");
        if (!stream_)
            fail("Cannot write " + target_, errno);
    }
    return stream_;
}

bool ReplacingFile::fail(const std::string& what, int code)
{
    if (!error_.empty())
        return false;  // the first failure is the cause
    if (code == ENOSPC)
        error_ = "No space left on the device holding " + target_;
    else if (code == EDQUOT)
        error_ = "Disk quota exceeded on the device holding " + target_;
    else
        error_ = what + ": " + std::strerror(code);
    return false;
}

bool ReplacingFile::failed(int code)
{
    return fail("Cannot write " + target_, code);
}

bool ReplacingFile::write(std::string_view bytes)
{
    if (!ok())
        return false;
    if (stream_)
        return std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size() || failed(errno);
    while (!bytes.empty()) {
        ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return failed(written < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool ReplacingFile::finishWriting()
{
    if (stream_) {
        int rc = std::fflush(stream_);
        if (rc != 0 || std::ferror(stream_))
            return failed(errno ? errno : EIO);
    }
    if (::fsync(fd_) != 0 && errno != EINVAL)  // a pipe or terminal has nothing to sync
        return failed(errno);
    return true;
}

bool ReplacingFile::moveInPlace()
{
    if (::fchmod(fd_, mode_) != 0)
        return fail("Cannot set the modes of " + target_, errno);
    if (group_ != static_cast<gid_t>(-1))
        (void)::fchown(fd_, static_cast<uid_t>(-1), group_);  // only where the account may
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        return fail("Cannot replace " + target_, errno);
    committed_ = true;
    if (!syncFolder(folderOf(target_)))
        return fail("Cannot sync the folder of " + target_, errno);
    return true;
}

bool ReplacingFile::commit()
{
    if (!ok() || committed_)
        return ok();
    if (!finishWriting())
        return false;
    if (temporary_.empty()) {
        committed_ = true;
        return true;
    }
    return moveInPlace();
}
