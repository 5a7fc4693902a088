#include "PgDatabase.h"

#include "PgCursor.h"
#include "PgSchemaChange.h"
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

EngineStatus PgDatabase::schemaVersions(const std::vector<std::string>& tableNames, std::map<std::string, int>& out)
{
    std::map<std::string, int> all;
    EngineStatus status = PgTable::readVersions(*connection_, all);
    out.clear();
    for (const std::string& name : tableNames)
        if (auto found = all.find(name); found != all.end())
            out.insert(*found);
    return status;
}

namespace {

// Every table's steps and the new versions in the transaction open on own.
EngineStatus upgradeIn(PgConnection& own, const std::vector<std::string>& tableNames, const SchemaSteps& steps,
                       std::vector<std::string>& lines)
{
    const std::string& schema = own.schema();
    // One upgrade at a time: a second program waits here and then finds
    // the tables upgraded.
    EngineStatus status = own.runScript("CREATE TABLE IF NOT EXISTS " + schema +
                                            ".arsipstaf_versions (table_name text PRIMARY KEY, version integer "
                                            "NOT NULL); LOCK TABLE " +
                                            schema + ".arsipstaf_versions IN EXCLUSIVE MODE",
                                        "Cannot upgrade the tables.");
    std::map<std::string, int> versions;
    if (status.ok())
        status = PgTable::readVersions(own, versions);
    for (const std::string& name : tableNames) {
        auto found = versions.find(name);
        if (!status.ok() || found == versions.end() || found->second == steps.version())
            continue;
        if (found->second > steps.version())
            return EngineStatus::failure(
                EngineCode::SchemaNewer, SchemaSteps::newerMessage(),
                {SchemaSteps::newerDetail(name, found->second, steps.version()), "Database: " + own.location()});
        PgSchemaChange change(own, name);
        status = steps.run(change, found->second, [&](const std::string& line) { lines.push_back(line); });
        if (status.ok())
            status = own.runScript("INSERT INTO " + schema + ".arsipstaf_versions VALUES (" +
                                       PgConnection::literal(name) + ", " + std::to_string(steps.version()) +
                                       ") ON CONFLICT (table_name) DO UPDATE SET version = EXCLUDED.version",
                                   "Cannot upgrade the tables.");
    }
    return status;
}

}  // namespace

EngineStatus PgDatabase::upgradeSchema(const std::vector<std::string>& tableNames, const SchemaSteps& steps,
                                       const std::function<void(const std::string&)>& say)
{
    // Inside a caller's transaction (a copy creating the tables) the upgrade
    // is part of it; otherwise it is one of its own.
    EngineStatus status = connection_->ensureOpen();
    bool own = status.ok() && PQtransactionStatus(connection_->handle()) == PQTRANS_IDLE;
    if (own)
        status = connection_->runScript("BEGIN", "Cannot upgrade the tables.");
    if (!status.ok())
        return status;
    std::vector<std::string> lines;
    status = upgradeIn(*connection_, tableNames, steps, lines);
    if (own && status.ok())
        status = connection_->runScript("COMMIT", "Cannot upgrade the tables.");
    else if (own)
        (void)connection_->runScript("ROLLBACK", "Cannot upgrade the tables.");
    if (!status.ok())
        return status;
    for (const std::string& line : lines)
        if (say)
            say(line);
    return EngineStatus::success();
}
