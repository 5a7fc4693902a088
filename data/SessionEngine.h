#pragma once
#include "SqliteEngine.h"
#include "StorageEngine.h"

#include <string>

// The default session: an alias naming a directory opens the table files
// there, one naming a database server (a postgresql:// address or a keyword
// list such as "service=kantor") opens the tables on that server. A
// database of an older shape is upgraded first (SchemaUpgrade::onOpen).
class SessionEngine : public StorageEngine {
public:
    explicit SessionEngine(std::string sessionName = "Default") : files_(sessionName), sessionName_(sessionName) {}

    EngineStatus start() { return files_.start(); }
    const std::string& sessionName() const override { return sessionName_; }
    EngineStatus openDatabase(const std::string& alias, std::unique_ptr<EngineDatabase>& out) override;
    // Table files only: a server's tables open when asked (it may want a
    // password).
    std::shared_ptr<TableFilesAhead> openAhead(const std::string& alias,
                                               const std::vector<std::string>& tableNames) override;

private:
    EngineStatus openUnchecked(const std::string& alias, std::unique_ptr<EngineDatabase>& out);

    SqliteEngine files_;
    std::string sessionName_;
};
