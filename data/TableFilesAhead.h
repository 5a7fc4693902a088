#pragma once
#include "SqliteTableFile.h"

#include <future>
#include <memory>
#include <string>
#include <vector>

// Table files opened on a thread of their own while the program builds its
// windows, in the order the data module will ask for them: opening a table
// then waits only for what the thread has not yet done. The thread does what
// an opening does and nothing more; whatever it could not open is opened
// again by the caller, who reports the failure as usual.
class TableFilesAhead {
public:
    TableFilesAhead(std::string directory, const std::vector<std::string>& tableNames);
    ~TableFilesAhead();
    TableFilesAhead(const TableFilesAhead&) = delete;
    TableFilesAhead& operator=(const TableFilesAhead&) = delete;

    // The file opened ahead for directory/tableName, once; null when it was
    // not opened ahead, failed or was taken already.
    std::shared_ptr<SqliteTableFile> take(const std::string& directory, const std::string& tableName);
    // Waits for the thread and drops every file it opened: before anything
    // changes the files' shape (an upgrade).
    void discard();
    // Nothing left to take.
    bool empty() const;

private:
    struct Entry {
        std::string tableName;
        std::future<std::shared_ptr<SqliteTableFile>> file;
    };

    std::string directory_;
    std::vector<Entry> entries_;
    std::future<void> thread_;
};
