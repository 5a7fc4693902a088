#include "PgTableWriter.h"

#include "PgConnection.h"
#include "PgTable.h"

EngineStatus PgTableWriter::open(const PgConnection& shared, const std::string& tableName,
                                 std::unique_ptr<TableWriter>& out)
{
    std::shared_ptr<PgConnection> connection;
    EngineStatus status = shared.openAnother(connection);
    if (!status.ok())
        return status;
    std::unique_ptr<PgTableWriter> writer(new PgTableWriter(connection));
    status = connection->runScript("BEGIN", "Cannot store the records.");
    writer->open_ = status.ok();
    if (status.ok())
        status = PgTable::open(connection, tableName, writer->table_);
    if (!status.ok())
        return status;
    out = std::move(writer);
    return EngineStatus::success();
}

PgTableWriter::~PgTableWriter()
{
    if (open_)
        (void)connection_->runScript("ROLLBACK", "Cannot store the records.");
}

const TableDescription& PgTableWriter::description() const
{
    return table_->description();
}

EngineStatus PgTableWriter::run(const std::string& sql, const std::vector<FieldValue>& parameters, std::int64_t& rows)
{
    PgResult result;
    EngineStatus status = connection_->run(sql, parameters, result, "Cannot store the records.");
    if (!status.ok())
        return table_->withContext(status);
    rows = PQresultStatus(result.get()) == PGRES_TUPLES_OK ? result.rows() : result.affected();
    return status;
}

std::string PgTableWriter::columnNames() const
{
    std::string names;
    for (const FieldDescription& field : table_->description().fields)
        names += (names.empty() ? "" : ", ") + PgConnection::quote(field.name);
    return names;
}

std::string PgTableWriter::placeholders(size_t count, size_t first) const
{
    std::string list;
    for (size_t i = 0; i < count; ++i)
        list += (i ? ", $" : "$") + std::to_string(first + i);
    return list;
}

namespace {

// No date is null, as every store keeps it.
std::vector<FieldValue> withNullDates(const TableDescription& table, std::vector<FieldValue> values)
{
    for (size_t i = 0; i < values.size(); ++i)
        if (table.fields[i].type != ColumnType::Text && values[i] && values[i]->empty())
            values[i].reset();
    return values;
}

}  // namespace

EngineStatus PgTableWriter::insert(const EngineRecord& record)
{
    const TableDescription& table = table_->description();
    std::int64_t rows = 0;
    // A taken key adds no row and leaves the transaction going.
    EngineStatus status = run("INSERT INTO " + table_->qualifiedName() + " (" + columnNames() + ") VALUES (" +
                                  placeholders(table.fields.size(), 1) + ") ON CONFLICT DO NOTHING RETURNING rid",
                              withNullDates(table, table_->storable(record)), rows);
    if (status.ok() && rows == 0)
        return table_->failure(EngineCode::KeyViolation, "Key violation.",
                               {"A record with the same key already exists."});
    return status;
}

EngineStatus PgTableWriter::replace(const std::vector<int>& keyColumns, const EngineRecord& record)
{
    const TableDescription& table = table_->description();
    std::vector<FieldValue> parameters = withNullDates(table, table_->storable(record));
    std::string set, where;
    for (size_t i = 0; i < table.fields.size(); ++i)
        set += (i ? ", " : "") + PgConnection::quote(table.fields[i].name) + " = $" + std::to_string(i + 1);
    for (int column : keyColumns) {
        parameters.push_back(parameters[static_cast<size_t>(column)]);
        where += (where.empty() ? "" : " AND ") + PgConnection::quote(table.fields[static_cast<size_t>(column)].name) +
                 " = $" + std::to_string(parameters.size());
    }
    std::int64_t rows = 0;
    EngineStatus status =
        run("UPDATE " + table_->qualifiedName() + " SET " + set + " WHERE " + where, parameters, rows);
    if (status.ok() && rows == 0)
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    return status;
}

EngineStatus PgTableWriter::removeAll()
{
    std::int64_t rows = 0;
    return run("DELETE FROM " + table_->qualifiedName(), {}, rows);
}

EngineStatus PgTableWriter::insertNumbered(const EngineRecord& record)
{
    const TableDescription& table = table_->description();
    std::vector<FieldValue> parameters = {std::to_string(record.bookmark)};
    for (FieldValue& value : withNullDates(table, table_->storable(record)))
        parameters.push_back(std::move(value));
    std::int64_t rows = 0;
    return run("INSERT INTO " + table_->qualifiedName() + " (rid, " + columnNames() + ") OVERRIDING SYSTEM VALUE " +
                   "VALUES (" + placeholders(parameters.size(), 1) + ")",
               parameters, rows);
}

EngineStatus PgTableWriter::setLastRecordNumber(std::int64_t last)
{
    std::int64_t rows = 0;
    return run("SELECT setval(pg_get_serial_sequence($1, 'rid'), greatest($2::bigint, 1), $2::bigint > 0)",
               {table_->qualifiedName(), std::to_string(last)}, rows);
}

EngineStatus PgTableWriter::commit()
{
    EngineStatus status = connection_->runScript("COMMIT", "Cannot store the records.");
    open_ = false;
    return table_->withContext(status);
}
