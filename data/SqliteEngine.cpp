#include "SqliteEngine.h"

#include "EngineConfig.h"
#include "SqliteDatabase.h"
#include "TableFilesAhead.h"

#include <sqlite3.h>
#include <sys/stat.h>

EngineStatus SqliteEngine::start()
{
    if (started_)
        return EngineStatus::success();
    int rc = sqlite3_initialize();
    if (rc != SQLITE_OK)
        return EngineStatus::failure(EngineCode::NotStarted, "The storage engine cannot start.", {sqlite3_errstr(rc)});
    started_ = true;
    return EngineStatus::success();
}

EngineStatus SqliteEngine::openDatabase(const std::string& alias, std::unique_ptr<EngineDatabase>& out)
{
    EngineStatus status = start();
    if (!status.ok())
        return status;
    EngineConfig config;
    status = config.load();
    if (!status.ok())
        return status;
    std::string directory;
    status = config.resolve(alias, directory);
    if (!status.ok())
        return status;
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return EngineStatus::failure(EngineCode::DirectoryMissing, "Directory does not exist: " + directory + ".",
                                     {"Alias: " + alias, "Directory: " + directory});
    std::shared_ptr<TableFilesAhead> ahead = ahead_.lock();
    out = std::make_unique<SqliteDatabase>(directory, ahead && !ahead->empty() ? ahead : nullptr);
    return EngineStatus::success();
}

std::shared_ptr<TableFilesAhead> SqliteEngine::openAhead(const std::string& directory,
                                                         const std::vector<std::string>& tableNames)
{
    if (!start().ok())
        return nullptr;
    auto ahead = std::make_shared<TableFilesAhead>(directory, tableNames);
    ahead_ = ahead;
    return ahead;
}
