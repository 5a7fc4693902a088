#include "TRepStream.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "EReportError.h"
#include "TemporaryPageFiles.h"

namespace {
constexpr size_t FileBuffer = 256 * 1024;
}  // namespace

TRepStream::TRepStream(size_t memoryLimit) : limit_(memoryLimit)
{
}

std::unique_ptr<TRepStream> TRepStream::openFile(const std::string& path)
{
    std::unique_ptr<TRepStream> stream(new TRepStream());
    stream->file_ = std::fopen(path.c_str(), "rb");
    if (!stream->file_)
        throw EReportError("Cannot open file \"" + path + "\"");
    if (std::fseek(stream->file_, 0, SEEK_END) != 0)
        throw EReportError("Cannot read file \"" + path + "\"");
    const long end = std::ftell(stream->file_);
    if (end < 0)
        throw EReportError("Cannot read file \"" + path + "\"");
    stream->size_ = static_cast<std::uint64_t>(end);
    std::fseek(stream->file_, 0, SEEK_SET);
    stream->readOnly_ = true;
    stream->fileName_ = path;
    return stream;
}

TRepStream::~TRepStream()
{
    if (!temporaryName_.empty())
        TemporaryPageFiles::remove(file_, temporaryName_);
    else if (file_)
        std::fclose(file_);
}

// Names the folder and the cause: a full disk is not a fault of the report.
EReportError TRepStream::writeFailure(int error) const
{
    std::string folder = std::filesystem::path(temporaryName_).parent_path().string();
    if (error == ENOSPC)
        return EReportError("No space left on the device holding the temporary folder \"" + folder + "\"");
    return EReportError("Cannot write the report's temporary file in \"" + folder + "\": " + std::strerror(error));
}

void TRepStream::moveToFile()
{
    std::string name;
    file_ = TemporaryPageFiles::create(name);
    // Pages are some tens of kilobytes each: a larger buffer writes a few
    // pages a call.
    buffer_ = std::make_unique<char[]>(FileBuffer);
    std::setvbuf(file_, buffer_.get(), _IOFBF, FileBuffer);
    temporaryName_ = name;
    fileName_ = name;
    if (!memory_.empty() &&
        (std::fwrite(memory_.data(), 1, memory_.size(), file_) != memory_.size() || std::fflush(file_) != 0))
        throw writeFailure(errno);
    std::vector<std::uint8_t>().swap(memory_);
    last_ = Access::Write;
    moved_ = position_ != size_;
}

// C streams need a seek between a read and a write; one is made only then
// or when the position moved.
void TRepStream::placeFile(Access next)
{
    if (!moved_ && last_ == next)
        return;
    if (std::fseek(file_, static_cast<long>(position_), SEEK_SET) != 0)
        throw EReportError("Cannot seek in the report file");
    moved_ = false;
    last_ = next;
}

void TRepStream::write(const void* data, size_t count)
{
    std::lock_guard guard(lock_);
    if (readOnly_)
        throw EReportError("Cannot write to a loaded report file");
    if (count == 0)
        return;
    if (file_) {
        placeFile(Access::Write);
        if (std::fwrite(data, 1, count, file_) != count)
            throw writeFailure(errno);
    } else {
        if (position_ + count > memory_.size())
            memory_.resize(static_cast<size_t>(position_ + count));
        std::memcpy(memory_.data() + position_, data, count);
    }
    position_ += count;
    size_ = std::max(size_, position_);
    if (!file_ && size_ > limit_)
        moveToFile();
}

size_t TRepStream::read(void* data, size_t count)
{
    std::lock_guard guard(lock_);
    const std::uint64_t available = size_ - position_;
    const size_t n = static_cast<size_t>(std::min<std::uint64_t>(count, available));
    if (n == 0)
        return 0;
    size_t got = n;
    if (file_) {
        placeFile(Access::Read);
        got = std::fread(data, 1, n, file_);
    } else
        std::memcpy(data, memory_.data() + position_, n);
    position_ += got;
    return got;
}

void TRepStream::seek(std::uint64_t position)
{
    std::lock_guard guard(lock_);
    if (position > size_)
        throw EReportError("Report stream position out of range");
    if (position != position_)
        moved_ = true;
    position_ = position;
}

void TRepStream::flush()
{
    std::lock_guard guard(lock_);
    if (file_ && !readOnly_ && std::fflush(file_) != 0)
        throw writeFailure(errno);
}

namespace {

// A symbolic link names the file to replace; a missing target stays as given.
std::string resolved(const std::string& target)
{
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return target;
    char buffer[PATH_MAX];
    return ::realpath(target.c_str(), buffer) ? std::string(buffer) : target;
}

void syncFolderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

bool TRepStream::keepAs(const std::string& name)
{
    std::lock_guard guard(lock_);
    if (!file_ || readOnly_ || temporaryName_.empty())
        return false;
    const std::string target = resolved(name);
    const int fd = ::fileno(file_);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode))
            return false;
        struct stat own {};
        if (::fstat(fd, &own) != 0 || own.st_dev != existing.st_dev)
            return false;
        if (::fchmod(fd, existing.st_mode & 07777) != 0)
            throw EReportError("Cannot set the modes of " + target + ": " + std::strerror(errno));
        (void)::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);  // only where the account may
    }
    if (std::fflush(file_) != 0 || ::fsync(fd) != 0)
        throw writeFailure(errno);
    if (std::rename(temporaryName_.c_str(), target.c_str()) != 0) {
        if (errno == EXDEV)
            return false;
        throw EReportError("Cannot replace " + target + ": " + std::strerror(errno));
    }
    TemporaryPageFiles::kept(file_, temporaryName_);
    temporaryName_.clear();
    fileName_ = target;
    syncFolderOf(target);
    return true;
}

std::uint64_t TRepStream::position() const
{
    std::lock_guard guard(lock_);
    return position_;
}

std::uint64_t TRepStream::size() const
{
    std::lock_guard guard(lock_);
    return size_;
}
