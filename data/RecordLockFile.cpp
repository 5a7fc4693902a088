#include "RecordLockFile.h"

#include "TableFileAccess.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

std::shared_ptr<RecordLockFile> RecordLockFile::forPath(const std::string& lockPath, const std::string& tablePath)
{
    // Process-wide by necessity: a second descriptor of the same file would
    // drop this process's locks when closed.
    static std::map<std::string, std::weak_ptr<RecordLockFile>> files;
    // Tables may be opened ahead on a thread of their own (TableFilesAhead).
    static std::mutex guard;
    std::lock_guard lock(guard);
    std::shared_ptr<RecordLockFile> file = files[lockPath].lock();
    if (!file) {
        file.reset(new RecordLockFile(lockPath, tablePath));
        files[lockPath] = file;
    }
    return file;
}

RecordLockFile::~RecordLockFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

EngineStatus RecordLockFile::openFile()
{
    if (fd_ >= 0)
        return EngineStatus::success();
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd_ >= 0)
        TableFileAccess::matchTable(fd_, tablePath_);  // not the umask's modes
    else if (errno == EEXIST)
        fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0)
        return EngineStatus::failure(EngineCode::IoError, "Cannot open the record lock file.",
                                     {"File: " + path_, std::strerror(errno)});
    return EngineStatus::success();
}

bool RecordLockFile::setLock(std::int64_t record, short type)
{
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = static_cast<off_t>(record);
    range.l_len = 1;
    return ::fcntl(fd_, F_SETLK, &range) == 0;
}

EngineStatus RecordLockFile::lock(std::int64_t record, const void* owner)
{
    auto held = held_.find(record);
    if (held != held_.end()) {
        if (held->second == owner)
            return EngineStatus::success();
        return EngineStatus::failure(EngineCode::RecordLocked, "Record locked by another user.",
                                     {"Locked by another cursor of this program."});
    }
    EngineStatus status = openFile();
    if (!status.ok())
        return status;
    if (!setLock(record, F_WRLCK)) {
        if (errno == EAGAIN || errno == EACCES)
            return EngineStatus::failure(EngineCode::RecordLocked, "Record locked by another user.");
        return EngineStatus::failure(EngineCode::IoError, "Cannot lock the record.",
                                     {"File: " + path_, std::strerror(errno)});
    }
    held_[record] = owner;
    return EngineStatus::success();
}

void RecordLockFile::unlock(std::int64_t record, const void* owner)
{
    auto held = held_.find(record);
    if (held == held_.end() || held->second != owner)
        return;
    held_.erase(held);
    setLock(record, F_UNLCK);
}

bool RecordLockFile::holds(std::int64_t record, const void* owner) const
{
    auto held = held_.find(record);
    return held != held_.end() && held->second == owner;
}
