#pragma once
#include "StorageEngine.h"

#include <string>

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

private:
    std::string sessionName_;
    bool started_ = false;
};
