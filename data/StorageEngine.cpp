#include "StorageEngine.h"

#include "EDBEngineError.h"
#include "SessionEngine.h"

StorageEngine& StorageEngine::defaultSession()
{
    static SessionEngine session("Default");
    EngineStatus status = session.start();
    if (!status.ok())
        throw EDBEngineError::startFailure(status);
    return session;
}
