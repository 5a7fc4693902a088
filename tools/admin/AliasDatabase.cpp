#include "AliasDatabase.h"

#include "EDBEngineError.h"
#include "EngineConfig.h"
#include "StorageEngine.h"

bool AliasDatabase::open(std::unique_ptr<EngineDatabase>& database, std::ostream& err)
{
    EngineStatus status;
    try {
        status = StorageEngine::defaultSession().openDatabaseAsking(EngineConfig::defaultAlias, database);
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
