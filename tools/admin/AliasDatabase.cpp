#include "AliasDatabase.h"

#include "EDBEngineError.h"
#include "EngineConfig.h"
#include "StorageEngine.h"

bool AliasDatabase::open(std::unique_ptr<EngineDatabase>& database, std::ostream& err)
{
    EngineStatus status;
    try {
        StorageEngine& session = StorageEngine::defaultSession();
        // An upgrade on opening says what it does.
        session.setUpgradeNotice([&err](const std::string& line) { err << line << '\n'; });
        status = session.openDatabaseAsking(EngineConfig::defaultAlias, database);
        session.setUpgradeNotice(nullptr);
    } catch (const EDBEngineError& error) {
        err << error.what() << '\n';
        return false;
    }
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return false;
    }
    return true;
}
