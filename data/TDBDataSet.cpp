#include "TDBDataSet.h"

#include "StorageEngine.h"

EngineDatabase& TDBDataSet::Database()
{
    if (!database_)
        Check(StorageEngine::defaultSession().openDatabase(DatabaseName, database_));
    return *database_;
}

void TDBDataSet::InternalClose()
{
    TEngineDataSet::InternalClose();
    database_.reset();
}
