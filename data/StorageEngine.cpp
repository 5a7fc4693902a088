#include "StorageEngine.h"

#include "EDBEngineError.h"
#include "SqliteEngine.h"

StorageEngine& StorageEngine::defaultSession()
{
    static SqliteEngine session("Default");
    EngineStatus status = session.start();
    if (!status.ok())
        throw EDBEngineError::startFailure(status);
    return session;
}
