#include "PgDatabase.h"

#include "PgCursor.h"
#include "PgTable.h"

EngineStatus PgDatabase::openTable(const std::string& tableName, const std::string& indexName,
                                   std::unique_ptr<EngineCursor>& out)
{
    if (tableName.empty())
        return EngineStatus::failure(EngineCode::TableMissing, "Invalid table name: '" + tableName + "'.",
                                     {"Database: " + connection_->location()});
    std::shared_ptr<PgTable> table;
    EngineStatus status = PgTable::open(connection_, tableName, table);
    if (!status.ok())
        return status;
    return PgCursor::open(std::move(table), indexName, out);
}
