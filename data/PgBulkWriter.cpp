#include "PgBulkWriter.h"

EngineStatus PgBulkWriter::open(const std::shared_ptr<PgConnection>& connection, const std::string& tableName,
                                std::unique_ptr<BulkWriter>& out)
{
    std::shared_ptr<PgTable> table;
    EngineStatus status = PgTable::open(connection, tableName, table);
    if (status.ok())
        out.reset(new PgBulkWriter(std::move(table)));
    return status;
}

PgBulkWriter::~PgBulkWriter()
{
    if (inTransaction_)
        PgResult(PQexec(table_->connection().handle(), "ROLLBACK"));
    if (!prepared_.empty())
        PgResult(PQexec(table_->connection().handle(), ("DROP TABLE IF EXISTS " + prepared_).c_str()));
}

// SQL run on the server with no rows back.
EngineStatus PgBulkWriter::execute(const std::string& sql, std::int64_t* affected, ExecStatusType expected)
{
    PgResult result(PQexec(table_->connection().handle(), sql.c_str()));
    if (PQresultStatus(result.get()) != expected)
        return table_->failure(EngineCode::IoError, "Cannot add records.", {PQresultErrorMessage(result.get())});
    if (affected)
        *affected = result.affected();
    return EngineStatus::success();
}

namespace {

// A value as a field of COPY's text format.
void appendCopyField(std::string& line, const FieldValue& value)
{
    if (!value) {
        line += "\\N";
        return;
    }
    for (char c : *value) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
}

}  // namespace

// The transaction, unless the caller's is open: inside one (copy's
// all-or-nothing) the caller commits.
EngineStatus PgBulkWriter::begin()
{
    bool idle = PQtransactionStatus(table_->connection().handle()) == PQTRANS_IDLE;
    if (inTransaction_ || !idle)
        return EngineStatus::success();
    EngineStatus status = execute("BEGIN", nullptr);
    inTransaction_ = status.ok();
    return status;
}

// The temporary table rows pass through when a key may be taken: ordered as
// given, so the first row of a key is the one kept.
EngineStatus PgBulkWriter::prepareStaging(const std::string& names)
{
    if (!prepared_.empty())
        return EngineStatus::success();
    static int made = 0;
    std::string name = "arsipstaf_bulk_" + std::to_string(++made);
    EngineStatus status = execute("CREATE TEMP TABLE " + name + " AS SELECT " + names + " FROM " +
                                      table_->qualifiedName() + " WITH NO DATA",
                                  nullptr);
    if (status.ok())
        status = execute("ALTER TABLE " + name + " ADD COLUMN bulk_order bigserial", nullptr);
    if (status.ok())
        prepared_ = name;
    return status;
}

EngineStatus PgBulkWriter::copy(const std::vector<std::vector<FieldValue>>& rows, const std::string& into,
                                const std::string& names, bool& taken)
{
    PGconn* connection = table_->connection().handle();
    EngineStatus status = execute("COPY " + into + " (" + names + ") FROM STDIN", nullptr, PGRES_COPY_IN);
    if (!status.ok())
        return status;
    std::string data;
    for (const std::vector<FieldValue>& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i)
                data += '\t';
            appendCopyField(data, row[i]);
        }
        data += '\n';
    }
    bool sent = PQputCopyData(connection, data.data(), static_cast<int>(data.size())) == 1 &&
                PQputCopyEnd(connection, nullptr) == 1;
    PgResult result(PQgetResult(connection));
    if (sent && PQresultStatus(result.get()) == PGRES_COMMAND_OK)
        return EngineStatus::success();
    const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
    taken = state && std::string(state) == "23505";
    return table_->failure(EngineCode::IoError, "Cannot add records.", {PQerrorMessage(connection)});
}

EngineStatus PgBulkWriter::store(const std::vector<std::vector<FieldValue>>& rows, std::int64_t& added)
{
    added = 0;
    if (rows.empty())
        return EngineStatus::success();
    std::string names;
    for (const FieldDescription& field : table_->description().fields)
        names += (names.empty() ? "" : ", ") + PgConnection::quote(field.name);
    EngineStatus status = begin();
    // Mostly no key is taken: the rows go straight in, and only a run that
    // meets a taken key is stored again past the temporary table.
    bool taken = false;
    if (status.ok())
        status = execute("SAVEPOINT arsipstaf_bulk", nullptr);
    if (status.ok())
        status = copy(rows, table_->qualifiedName(), names, taken);
    if (status.ok()) {
        added = static_cast<std::int64_t>(rows.size());
        return execute("RELEASE SAVEPOINT arsipstaf_bulk", nullptr);
    }
    if (!taken)
        return status;
    status = execute("ROLLBACK TO SAVEPOINT arsipstaf_bulk", nullptr);
    if (status.ok())
        status = prepareStaging(names);
    if (status.ok())
        status = copy(rows, prepared_, names, taken);
    if (status.ok())
        status = execute("INSERT INTO " + table_->qualifiedName() + " (" + names + ") SELECT " + names + " FROM " +
                             prepared_ + " ORDER BY bulk_order ON CONFLICT DO NOTHING",
                         &added);
    if (status.ok())
        status = execute("TRUNCATE " + prepared_, nullptr);
    return status;
}

EngineStatus PgBulkWriter::commit()
{
    if (!inTransaction_)
        return EngineStatus::success();
    inTransaction_ = false;
    return execute("COMMIT", nullptr);
}
