#include "PgDatabase.h"

#include "PgBulkWriter.h"
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

EngineStatus PgDatabase::runScript(const std::string& sql, const std::string& what)
{
    return connection_->runScript(sql, what);
}

EngineStatus PgDatabase::prepareSchema()
{
    return PgTable::prepareSchema(*connection_);
}

bool PgDatabase::hasTable(const std::string& tableName)
{
    std::shared_ptr<PgTable> table;
    return PgTable::open(connection_, tableName, table).ok();
}

EngineStatus PgDatabase::createTable(const TableDescription& description,
                                     const std::vector<std::vector<std::string>>& rows)
{
    EngineStatus status = PgTable::create(*connection_, description);
    std::shared_ptr<PgTable> table;
    if (status.ok())
        status = PgTable::open(connection_, description.tableName, table);
    for (size_t i = 0; status.ok() && i < rows.size(); ++i) {
        EngineRecord record;
        for (const std::string& value : rows[i])
            record.values.emplace_back(value);
        std::int64_t rid = 0;
        status = table->insert(record, rid);
    }
    return status;
}

EngineStatus PgDatabase::openBulkWriter(const std::string& tableName, std::unique_ptr<BulkWriter>& out)
{
    return PgBulkWriter::open(connection_, tableName, out);
}
