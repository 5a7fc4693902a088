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

PgBulkWriter::PgBulkWriter(std::shared_ptr<PgTable> table) : table_(std::move(table))
{
    for (const FieldDescription& field : table_->description().fields)
        names_ += (names_.empty() ? "" : ", ") + PgConnection::quote(field.name);
}

PgBulkWriter::~PgBulkWriter()
{
    if (sent_.valid()) {
        sent_.wait();
        table_->connection().lendToThread(false);
    }
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
EngineStatus PgBulkWriter::prepareStaging()
{
    if (!prepared_.empty())
        return EngineStatus::success();
    static int made = 0;
    std::string name = "arsipstaf_bulk_" + std::to_string(++made);
    EngineStatus status = execute("CREATE TEMP TABLE " + name + " AS SELECT " + names_ + " FROM " +
                                      table_->qualifiedName() + " WITH NO DATA",
                                  nullptr);
    if (status.ok())
        status = execute("ALTER TABLE " + name + " ADD COLUMN bulk_order bigserial", nullptr);
    if (status.ok())
        prepared_ = name;
    return status;
}

// Runs on the COPY's thread too: touches nothing but the session.
std::string PgBulkWriter::copy(const std::string& data, const std::string& into, bool& taken)
{
    PGconn* connection = table_->connection().handle();
    taken = false;
    PgResult started(PQexec(connection, ("COPY " + into + " (" + names_ + ") FROM STDIN").c_str()));
    if (PQresultStatus(started.get()) != PGRES_COPY_IN)
        return PQresultErrorMessage(started.get());
    bool sent = PQputCopyData(connection, data.data(), static_cast<int>(data.size())) == 1 &&
                PQputCopyEnd(connection, nullptr) == 1;
    PgResult result(PQgetResult(connection));
    while (PgResult(PQgetResult(connection)).get()) {}
    if (sent && PQresultStatus(result.get()) == PGRES_COMMAND_OK)
        return std::string();
    const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
    taken = state && std::string(state) == "23505";
    std::string error = PQerrorMessage(connection);
    return error.empty() ? std::string("The COPY did not end.") : error;
}

EngineStatus PgBulkWriter::store(const std::vector<std::vector<FieldValue>>& rows, std::int64_t& added)
{
    added = 0;
    if (rows.empty())
        return EngineStatus::success();
    EngineStatus status = settle(added);
    if (status.ok())
        status = begin();
    if (!status.ok())
        return status;
    sentData_.clear();
    for (const std::vector<FieldValue>& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i)
                sentData_ += '\t';
            appendCopyField(sentData_, row[i]);
        }
        sentData_ += '\n';
    }
    sentRows_ = rows.size();
    // Mostly no key is taken: the rows go straight in, and only a run that
    // meets a taken key is stored again past the temporary table.
    sent_ = std::async(std::launch::async, [this] {
        PGconn* connection = table_->connection().handle();
        Outcome outcome;
        PgResult savepoint(PQexec(connection, "SAVEPOINT arsipstaf_bulk"));
        if (PQresultStatus(savepoint.get()) != PGRES_COMMAND_OK)
            outcome.error = PQresultErrorMessage(savepoint.get());
        else
            outcome.error = copy(sentData_, table_->qualifiedName(), outcome.taken);
        if (outcome.error.empty()) {
            PgResult released(PQexec(connection, "RELEASE SAVEPOINT arsipstaf_bulk"));
            if (PQresultStatus(released.get()) != PGRES_COMMAND_OK)
                outcome.error = PQresultErrorMessage(released.get());
        }
        return outcome;
    });
    table_->connection().lendToThread(true);
    return EngineStatus::success();
}

EngineStatus PgBulkWriter::settle(std::int64_t& added)
{
    added = 0;
    if (!sent_.valid())
        return EngineStatus::success();
    Outcome outcome = sent_.get();
    table_->connection().lendToThread(false);
    if (outcome.error.empty()) {
        added = static_cast<std::int64_t>(sentRows_);
        return EngineStatus::success();
    }
    if (!outcome.taken)
        return table_->failure(EngineCode::IoError, "Cannot add records.", {outcome.error});
    return storeSkippingTaken(added);
}

EngineStatus PgBulkWriter::storeSkippingTaken(std::int64_t& added)
{
    EngineStatus status = execute("ROLLBACK TO SAVEPOINT arsipstaf_bulk", nullptr);
    if (status.ok())
        status = prepareStaging();
    bool taken = false;
    if (status.ok()) {
        std::string error = copy(sentData_, prepared_, taken);
        if (!error.empty())
            status = table_->failure(EngineCode::IoError, "Cannot add records.", {error});
    }
    if (status.ok())
        status = execute("INSERT INTO " + table_->qualifiedName() + " (" + names_ + ") SELECT " + names_ + " FROM " +
                             prepared_ + " ORDER BY bulk_order ON CONFLICT DO NOTHING",
                         &added);
    if (status.ok())
        status = execute("TRUNCATE " + prepared_, nullptr);
    if (status.ok())
        status = execute("RELEASE SAVEPOINT arsipstaf_bulk", nullptr);
    return status;
}

EngineStatus PgBulkWriter::commit()
{
    std::int64_t added = 0;
    EngineStatus status = settle(added);
    if (!inTransaction_)
        return status;
    if (!status.ok())
        return status;  // the destructor rolls back
    inTransaction_ = false;
    return execute("COMMIT", nullptr);
}
