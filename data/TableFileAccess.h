#pragma once
#include <string>
#include <vector>

struct stat;

// A table file, its directory and its side files (the write-ahead log, the
// shared memory and the record lock file) as the file system lets this
// process use them. A side file belongs to its table: it carries the table
// file's permission bits, group and owner, never wider, so that whoever may
// write the table may write its side files too, whatever the umask of the
// process that happened to create them.
class TableFileAccess {
public:
    // The side files of a table file, whether they exist or not.
    static std::vector<std::string> sideFiles(const std::string& tablePath);
    // Gives every existing side file the table file's permission bits and
    // group (and owner, when running as root), as far as this process may
    // change them; a side file it may not change is left for writeProblems.
    static void mendSideFiles(const std::string& tablePath);
    // The same for one side file this process just created (descriptor fd).
    static void matchTable(int fd, const std::string& tablePath);
    // Why this process cannot store into the table: one line per cause,
    // naming the file, its mode and owner. Empty when stores can succeed.
    static std::vector<std::string> writeProblems(const std::string& tablePath);
    // Side files another account left that this process can neither write
    // nor give the table's modes (a clerk's log from a read-only period).
    // When no connection uses the table and this process may write the
    // directory, each is replaced by one of its own with the table file's
    // permission bits and group: the log by a copy (its changes are kept),
    // the shared memory and the lock file removed (they are made again).
    // One line per file replaced, or saying what its owner or root must do.
    static std::vector<std::string> takeOverSideFiles(const std::string& tablePath);
    // Whether a connection has the table open (it holds a lock on the
    // shared memory for as long as it is open); this process's own do not
    // count. True also when the shared memory exists but cannot be read.
    static bool inUse(const std::string& tablePath);
    // "mode 0644, owner ana:staf"
    static std::string describe(const struct stat& info);
    // The directory part of a path ("." when there is none).
    static std::string directoryOf(const std::string& path);
};
