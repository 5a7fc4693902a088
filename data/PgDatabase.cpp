#include "PgDatabase.h"

#include "PgCursor.h"
#include "PgSnapshot.h"
#include "PgTable.h"
#include "PgTableWriter.h"

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

EngineStatus PgDatabase::openSnapshot(std::unique_ptr<EngineSnapshot>& out)
{
    return PgSnapshot::open(*connection_, out);
}

EngineStatus PgDatabase::openWriter(const std::string& tableName, std::unique_ptr<TableWriter>& out)
{
    return PgTableWriter::open(*connection_, tableName, out);
}
