#include "TDBDataSet.h"

#include "StorageEngine.h"

EngineDatabase& TDBDataSet::Database()
{
    if (!database_)
        Check(StorageEngine::defaultSession().openDatabaseAsking(DatabaseName, database_));
    return *database_;
}

void TDBDataSet::InternalClose()
{
    TEngineDataSet::InternalClose();
    database_.reset();
}
