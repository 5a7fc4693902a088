#pragma once
#include <cstdio>
#include <string>
#include <string_view>
#include <sys/types.h>

// A file written whole or not at all. The content goes to a temporary file
// beside the target; commit() syncs it, renames it over the target and syncs
// the folder, so a failure at any point leaves the earlier target untouched.
// Without a commit the temporary file is removed on destruction.
//
// An existing target keeps its mode (and, where the account may, its group);
// a new one gets newMode. A target that exists and is not a regular file (a
// device or pipe the user named) is written to directly: there is nothing
// to keep. A symbolic link is followed: the file it names is replaced.
//
// Every call returns false once something failed; error() then says what is
// wrong and where ("No space left on the device holding FILE").
class ReplacingFile {
public:
    explicit ReplacingFile(std::string target, mode_t newMode = 0600);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& target() const { return target_; }

    // Where the content is written before the commit, for a library that
    // writes by name (it may truncate or replace this file, never the target).
    const std::string& path() const { return temporary_.empty() ? target_ : temporary_; }
    // The open descriptor of path(); -1 when it could not be made.
    int fd() const { return fd_; }
    // A stdio stream on fd() (made on first use, owned here): use either
    // the stream or fd(), not both.
    std::FILE* stream();

    bool write(std::string_view bytes);
    // Records a failure of the caller's own write (errno code) in the words
    // error() uses; returns false.
    bool failed(int code);
    // Makes the content the target's. False (target untouched) on failure.
    bool commit();

private:
    bool fail(const std::string& what, int code);
    bool finishWriting();
    bool moveInPlace();

    std::string target_;
    std::string temporary_;
    mode_t mode_;
    gid_t group_ = static_cast<gid_t>(-1);
    int fd_ = -1;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
    std::string error_;
};
