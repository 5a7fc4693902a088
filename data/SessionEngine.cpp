#include "SessionEngine.h"

#include "EngineConfig.h"
#include "PgDatabase.h"
#include "SchemaUpgrade.h"

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
    if (!PgConnection::isServerAddress(target))
        return files_.openDatabase(alias, out);
    std::shared_ptr<PgConnection> connection;
    status = PgConnection::open(target, passwords(), connection);
    if (!status.ok()) {
        status.stack.push_back("Alias: " + alias);
        return status;
    }
    out = std::make_unique<PgDatabase>(std::move(connection));
    return EngineStatus::success();
}
