#pragma once
#include "StorageEngine.h"

#include <memory>
#include <string>
#include <vector>

class TableFilesAhead;

// The engine on SQLite. Aliases are resolved through EngineConfig, read
// again at every openDatabase so a changed configuration applies at once.
class SqliteEngine : public StorageEngine {
public:
    explicit SqliteEngine(std::string sessionName = "Default") : sessionName_(std::move(sessionName)) {}

    // Prepares SQLite; NotStarted when it cannot.
    EngineStatus start();

    const std::string& sessionName() const override { return sessionName_; }
    // DirectoryMissing when the alias names no directory.
    EngineStatus openDatabase(const std::string& alias, std::unique_ptr<EngineDatabase>& out) override;
    // Starts opening these table files of directory on a thread of their
    // own; the databases this engine opens there while the caller keeps the
    // result take them (TableFilesAhead).
    std::shared_ptr<TableFilesAhead> openAhead(const std::string& directory,
                                               const std::vector<std::string>& tableNames);

private:
    std::string sessionName_;
    bool started_ = false;
    std::weak_ptr<TableFilesAhead> ahead_;
};
