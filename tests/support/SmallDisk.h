#pragma once
// A tmpfs of a few megabytes mounted over a directory, for tests of a full
// disk. Mounting needs root (or CAP_SYS_ADMIN in the test's namespace):
// where it is refused, mounted() is false and reason() says why, for the
// test's skip message. Unmounted (lazily, whatever is still open) on
// destruction.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

class SmallDisk {
public:
    SmallDisk(std::string directory, int megabytes) : directory_(std::move(directory))
    {
        std::string options = "size=" + std::to_string(megabytes) + "m,mode=0700";
        if (::mount("tmpfs", directory_.c_str(), "tmpfs", 0, options.c_str()) == 0)
            mounted_ = true;
        else
            reason_ = "cannot mount a tmpfs at " + directory_ + ": " + std::strerror(errno);
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(directory_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& reason() const { return reason_; }

    // Fills the device with a file until a write fails for want of space.
    // False when the writes stop for another reason.
    bool fill()
    {
        int fd = ::open(filler().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        std::string block(4096, 'f');
        ssize_t written = 0;
        while ((written = ::write(fd, block.data(), block.size())) > 0) {}
        int error = errno;
        ::close(fd);
        return written < 0 && error == ENOSPC;
    }
    // Gives the space back.
    void empty() { ::unlink(filler().c_str()); }

private:
    std::string filler() const { return directory_ + "/.filler"; }

    std::string directory_;
    bool mounted_ = false;
    std::string reason_;
};
