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
    // "mode 0644, owner ana:staf"
    static std::string describe(const struct stat& info);
    // The directory part of a path ("." when there is none).
    static std::string directoryOf(const std::string& path);
};
