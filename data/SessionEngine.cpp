#include "SessionEngine.h"

#include "EngineConfig.h"
#include "SchemaUpgrade.h"
#include "ServerEngine.h"

EngineStatus SessionEngine::openDatabase(const std::string& alias, std::unique_ptr<EngineDatabase>& out)
{
    std::unique_ptr<EngineDatabase> database;
    EngineStatus status = openUnchecked(alias, database);
    // An older shape is brought up before any table opens; a newer one is
    // refused before anything is written.
    if (status.ok() && upgradesOnOpen())
        status = SchemaUpgrade::onOpen(*database, [this](const std::string& line) { tellUpgrade(line); });
    if (status.ok())
        out = std::move(database);
    return status;
}

std::shared_ptr<TableFilesAhead> SessionEngine::openAhead(const std::string& alias,
                                                          const std::vector<std::string>& tableNames)
{
    EngineConfig config;
    std::string target;
    if (config.load().ok() && config.resolve(alias, target).ok() && !ServerEngine::isServerAddress(target))
        return files_.openAhead(target, tableNames);
    return nullptr;
}

EngineStatus SessionEngine::openUnchecked(const std::string& alias, std::unique_ptr<EngineDatabase>& out)
{
    EngineStatus status = start();
    if (!status.ok())
        return status;
    EngineConfig config;
    status = config.load();
    std::string target;
    if (status.ok())
        status = config.resolve(alias, target);
    if (!status.ok())
        return status;
    if (!ServerEngine::isServerAddress(target))
        return files_.openDatabase(alias, out);
    std::unique_ptr<ServerDatabase> database;
    status = ServerEngine::openDatabase(target, passwords(), database);
    if (!status.ok()) {
        status.stack.push_back("Alias: " + alias);
        return status;
    }
    out = std::move(database);
    return EngineStatus::success();
}
