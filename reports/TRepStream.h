#pragma once
#include "EReportError.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The byte stream under the page store: a memory buffer that moves to a
// temporary file (prefix "RPF", in the temporary directory; see
// TemporaryPageFiles) once it grows past
// its limit, or a saved report file opened for reading. Every operation takes
// the stream's own lock.
class TRepStream {
public:
    // An empty memory stream.
    explicit TRepStream(size_t memoryLimit);
    // A saved file opened for reading, without locking other users out.
    // Raises EReportError when it cannot be opened.
    static std::unique_ptr<TRepStream> openFile(const std::string& path);
    // Closes the file; a temporary file is deleted, a saved file stays.
    ~TRepStream();

    TRepStream(const TRepStream&) = delete;
    TRepStream& operator=(const TRepStream&) = delete;

    // Writes at the position and moves past what was written; raises
    // EReportError on a read-only stream or a failed file write.
    void write(const void* data, size_t count);
    // Reads up to count bytes; returns how many were read.
    size_t read(void* data, size_t count);
    // Positions within 0..size(); raises EReportError beyond it.
    void seek(std::uint64_t position);
    // Hands what the file's buffer holds to the file.
    void flush();
    // Makes a temporary file the saved file `target` by moving it there,
    // when both are on one file system: synced, renamed over the target (an
    // existing target's mode kept, a symbolic link followed) and the folder
    // synced. The stream goes on reading it under its new name and no longer
    // deletes it. Returns false, with nothing changed, when the stream is not
    // a temporary file, the target is not a regular file, or the two are on
    // different file systems; raises EReportError when the move fails.
    bool keepAs(const std::string& target);
    std::uint64_t position() const;
    std::uint64_t size() const;

    bool inFile() const { return file_ != nullptr; }
    bool readOnly() const { return readOnly_; }
    const std::string& temporaryName() const { return temporaryName_; }
    const std::string& fileName() const { return fileName_; }

private:
    TRepStream() = default;
    void moveToFile();
    EReportError writeFailure(int error) const;
    // The file's position follows position_ only when the next read or write
    // needs it: a seek to where the stream stands costs nothing, and a write
    // after a write goes on in the file's buffer.
    enum class Access { None, Read, Write };
    void placeFile(Access next);

    mutable std::recursive_mutex lock_;
    size_t limit_ = 0;
    std::vector<std::uint8_t> memory_;
    std::uint64_t position_ = 0;
    std::uint64_t size_ = 0;
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;  // the file's; outlives it
    Access last_ = Access::None;
    bool moved_ = false;  // position_ changed since the file's last access
    bool readOnly_ = false;
    std::string temporaryName_;
    std::string fileName_;
};
