#include "SessionEngine.h"

#include "EngineConfig.h"
#include "ServerEngine.h"

EngineStatus SessionEngine::openDatabase(const std::string& alias, std::unique_ptr<EngineDatabase>& out)
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
