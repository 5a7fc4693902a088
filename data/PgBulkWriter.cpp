#include "PgBulkWriter.h"

EngineStatus PgBulkWriter::open(const std::shared_ptr<PgConnection>& connection, const std::string& tableName,
                                std::unique_ptr<ServerBulkWriter>& out)
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

// The transaction (unless the caller's is open) and the temporary table.
EngineStatus PgBulkWriter::begin(const std::string& names)
{
    EngineStatus status;
    // Inside a caller's transaction (copy's all-or-nothing) the caller commits.
    bool idle = PQtransactionStatus(table_->connection().handle()) == PQTRANS_IDLE;
    if (!inTransaction_ && idle && (status = execute("BEGIN", nullptr)).ok())
        inTransaction_ = true;
    if (status.ok() && prepared_.empty()) {
        static int made = 0;
        std::string name = "arsipstaf_bulk_" + std::to_string(++made);
        status = execute("CREATE TEMP TABLE " + name + " AS SELECT " + names + " FROM " + table_->qualifiedName() +
                             " WITH NO DATA",
                         nullptr);
        if (status.ok())
            status = execute("ALTER TABLE " + name + " ADD COLUMN bulk_order bigserial", nullptr);
        if (status.ok())
            prepared_ = name;
    }
    return status;
}

EngineStatus PgBulkWriter::copy(const std::vector<std::vector<FieldValue>>& rows, const std::string& names)
{
    PGconn* connection = table_->connection().handle();
    EngineStatus status = execute("COPY " + prepared_ + " (" + names + ") FROM STDIN", nullptr, PGRES_COPY_IN);
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
    if (!sent || PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        return table_->failure(EngineCode::IoError, "Cannot add records.", {PQerrorMessage(connection)});
    return EngineStatus::success();
}

EngineStatus PgBulkWriter::store(const std::vector<std::vector<FieldValue>>& rows, std::int64_t& added)
{
    added = 0;
    if (rows.empty())
        return EngineStatus::success();
    std::string names;
    for (const FieldDescription& field : table_->description().fields)
        names += (names.empty() ? "" : ", ") + PgConnection::quote(field.name);
    EngineStatus status = begin(names);
    if (status.ok())
        status = copy(rows, names);
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
