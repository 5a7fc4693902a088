#pragma once
#include "EngineStatus.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

// Write locks on records, shared by every process that opens the table:
// one byte of the companion file "<table>.lck" per record, at the offset of
// its bookmark, locked with fcntl. The system drops such locks when their
// process dies, so a crashed copy of the program never blocks anyone.
//
// fcntl locks belong to the process and closing any descriptor of the file
// drops all of them, so there is exactly one object (one descriptor) per lock
// file in a process, shared through forPath(). Locks between cursors of one
// process are kept in the object itself.
class RecordLockFile {
public:
    // The one object for this lock file in this process. The file is opened
    // (created) at the first lock, so reading a table never needs it; a new
    // one gets the modes of the table file at tablePath.
    static std::shared_ptr<RecordLockFile> forPath(const std::string& lockPath, const std::string& tablePath);

    RecordLockFile(const RecordLockFile&) = delete;
    RecordLockFile& operator=(const RecordLockFile&) = delete;
    ~RecordLockFile();

    // Takes the lock for owner. Ok when owner already holds it; RecordLocked
    // when another cursor or another process does; IoError when the lock file
    // cannot be opened.
    EngineStatus lock(std::int64_t record, const void* owner);
    // Releases owner's lock; nothing when owner does not hold it.
    void unlock(std::int64_t record, const void* owner);
    bool holds(std::int64_t record, const void* owner) const;

    const std::string& path() const { return path_; }

private:
    RecordLockFile(std::string path, std::string tablePath) : path_(std::move(path)), tablePath_(std::move(tablePath))
    {
    }
    EngineStatus openFile();
    bool setLock(std::int64_t record, short type);

    std::string path_;
    std::string tablePath_;
    int fd_ = -1;
    std::map<std::int64_t, const void*> held_;
};
