#include "StorageEngine.h"

#include "EDBEngineError.h"
#include "SessionEngine.h"

#include <iostream>

StorageEngine& StorageEngine::defaultSession()
{
    static SessionEngine session("Default");
    EngineStatus status = session.start();
    if (!status.ok())
        throw EDBEngineError::startFailure(status);
    return session;
}

void StorageEngine::tellUpgrade(const std::string& line)
{
    if (notice_)
        notice_(line);
    else
        std::cerr << line << '\n';
}
