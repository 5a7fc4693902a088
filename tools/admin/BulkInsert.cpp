#include "BulkInsert.h"

#include "PgDatabase.h"
#include "PgTable.h"
#include "SqliteDatabase.h"
#include "SqliteTableFile.h"
#include "StorableText.h"

#include <algorithm>

namespace {

// Rows per transaction on table files: each commit writes again the index
// pages the rows touched, so fewer commits cost less; the bound keeps the log
// file of a very large run from growing without end.
constexpr std::int64_t fileBatch = 1000000;

// The rows outlive the statement's run, so their texts are not copied.
void bindStored(sqlite3_stmt* statement, int parameter, const FieldValue& value)
{
    if (value)
        sqlite3_bind_text(statement, parameter, value->data(), static_cast<int>(value->size()), SQLITE_STATIC);
    else
        sqlite3_bind_null(statement, parameter);
}

}  // namespace

EngineStatus BulkInsert::open(EngineDatabase& database, const std::string& tableName, std::unique_ptr<BulkInsert>& out)
{
    std::unique_ptr<BulkInsert> bulk(new BulkInsert());
    EngineStatus status;
    if (auto* server = dynamic_cast<PgDatabase*>(&database)) {
        status = PgTable::open(server->sharedConnection(), tableName, bulk->table_);
    } else {
        status = SqliteTableFile::open(database.directory(), tableName, bulk->file_);
        if (status.ok())
            status = bulk->file_->readyForWriting();
        // A bounded cache keeps memory flat however many records are added;
        // a larger one saves little, as most pages a run touches are new.
        if (status.ok())
            sqlite3_exec(bulk->file_->handle(), "PRAGMA cache_size = -16384", nullptr, nullptr, nullptr);
    }
    if (!status.ok())
        return status;
    out = std::move(bulk);
    return EngineStatus::success();
}

BulkInsert::~BulkInsert()
{
    insert_.reset();
    if (inTransaction_ && file_)
        sqlite3_exec(file_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    if (inTransaction_ && table_)
        PgResult(PQexec(table_->connection().handle(), "ROLLBACK"));
    if (!prepared_.empty())
        PgResult(PQexec(table_->connection().handle(), ("DROP TABLE IF EXISTS " + prepared_).c_str()));
}

// SQL run on the server with no rows back.
EngineStatus BulkInsert::executeOnServer(const std::string& sql, std::int64_t* affected, ExecStatusType expected)
{
    PgResult result(PQexec(table_->connection().handle(), sql.c_str()));
    if (PQresultStatus(result.get()) != expected)
        return table_->failure(EngineCode::IoError, "Cannot add records.", {PQresultErrorMessage(result.get())});
    if (affected)
        *affected = result.affected();
    return EngineStatus::success();
}

const TableDescription& BulkInsert::description() const
{
    return file_ ? file_->description() : table_->description();
}

EngineStatus BulkInsert::add(const std::vector<FieldValue>& values)
{
    return add(std::vector<FieldValue>(values));
}

EngineStatus BulkInsert::add(std::vector<FieldValue>&& values)
{
    // The engines' own rule, which these statements pass by.
    if (std::string problem = StorableText::problemIn(description(), values); !problem.empty())
        return file_ ? file_->failure(EngineCode::InvalidText, problem)
                     : table_->failure(EngineCode::InvalidText, problem);
    if (file_)
        return addToFile(std::move(values));
    const std::vector<FieldDescription>& fields = table_->description().fields;
    values.resize(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        FieldValue& value = values[i];
        if (fields[i].type != ColumnType::Text) {
            if (value && value->empty())
                value.reset();
        } else {
            value = SqliteTableFile::cutToSize(value.value_or(std::string()), fields[i].size);
        }
    }
    fileRows_.push_back(std::move(values));
    if (pending() < rowsPerStatement)
        return EngineStatus::success();
    EngineStatus status = flushToServer();
    if (status.ok() && inBatch_ >= fileBatch)
        status = flush();
    return status;
}

int BulkInsert::rowsPerFileStatement(size_t columns)
{
    return static_cast<int>(std::clamp<size_t>(999 / std::max<size_t>(columns, 1), 1, 64));
}

// What the table file's own insert stores (see SqliteTableFile::storable),
// made in place: most values are kept as given and need no copy.
EngineStatus BulkInsert::addToFile(std::vector<FieldValue>&& values)
{
    const std::vector<FieldDescription>& fields = file_->description().fields;
    values.resize(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        FieldValue& value = values[i];
        if (fields[i].type != ColumnType::Text) {
            if (value && value->empty())
                value.reset();
        } else if (!value) {
            value = std::string();
        } else if (fields[i].size > 0 && value->size() > static_cast<size_t>(fields[i].size)) {
            // Never more characters than bytes: a shorter text fits as it is.
            value = SqliteTableFile::cutToSize(*value, fields[i].size);
        }
    }
    fileRows_.push_back(std::move(values));
    if (pending() < rowsPerFileStatement(fields.size()))
        return EngineStatus::success();
    EngineStatus status = insertFileRows();
    if (status.ok() && inBatch_ >= fileBatch)
        status = flush();
    return status;
}

EngineStatus BulkInsert::beginFileTransaction()
{
    if (inTransaction_)
        return EngineStatus::success();
    int rc = sqlite3_exec(file_->handle(), "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return file_->sqliteFailure(rc, "Cannot add records.");
    inTransaction_ = true;
    return EngineStatus::success();
}

// The pending rows in one INSERT OR IGNORE, in the order given.
EngineStatus BulkInsert::insertFileRows()
{
    if (fileRows_.empty())
        return EngineStatus::success();
    if (EngineStatus status = beginFileTransaction(); !status.ok())
        return status;
    sqlite3* db = file_->handle();
    const size_t columns = file_->description().fields.size();
    const bool full = pending() == rowsPerFileStatement(columns);
    std::unique_ptr<SqliteStatement> partial;
    std::unique_ptr<SqliteStatement>& statement = full ? insert_ : partial;
    int rc = SQLITE_OK;
    if (!statement) {
        statement = std::make_unique<SqliteStatement>();
        std::string sql = SqliteTableFile::insertSql(file_->description());
        std::string row = sql.substr(sql.rfind(" ("));
        for (size_t i = 1; i < fileRows_.size(); ++i)
            sql += "," + row;
        rc = statement->prepare(db, "INSERT OR IGNORE" + sql.substr(6));
    }
    int parameter = 1;
    for (size_t r = 0; rc == SQLITE_OK && r < fileRows_.size(); ++r)
        for (size_t i = 0; i < columns; ++i)
            bindStored(statement->get(), parameter++, fileRows_[r][i]);
    if (rc == SQLITE_OK)
        rc = statement->step() == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    if (statement->prepared())
        statement->reset();
    if (rc != SQLITE_OK)
        return file_->sqliteFailure(rc, "Cannot add records.");
    added_ += sqlite3_changes(db);
    inBatch_ += pending();
    fileRows_.clear();
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

// The rows go by COPY into a temporary table and from there by one INSERT ...
// SELECT in the order given, which skips taken keys: the server neither parses
// nor plans a statement per run of rows.
EngineStatus BulkInsert::flushToServer()
{
    if (fileRows_.empty())
        return EngineStatus::success();
    PGconn* connection = table_->connection().handle();
    std::string names;
    for (const FieldDescription& field : table_->description().fields)
        names += (names.empty() ? "" : ", ") + PgConnection::quote(field.name);
    EngineStatus status;
    // Inside a caller's transaction (copy's all-or-nothing) the caller commits.
    bool idle = PQtransactionStatus(connection) == PQTRANS_IDLE;
    if (!inTransaction_ && idle && (status = executeOnServer("BEGIN", nullptr)).ok())
        inTransaction_ = true;
    if (status.ok() && prepared_.empty()) {
        static int made = 0;
        std::string name = "arsipstaf_bulk_" + std::to_string(++made);
        status = executeOnServer("CREATE TEMP TABLE " + name + " AS SELECT " + names + " FROM " +
                                     table_->qualifiedName() + " WITH NO DATA",
                                 nullptr);
        if (status.ok())
            status = executeOnServer("ALTER TABLE " + name + " ADD COLUMN bulk_order bigserial", nullptr);
        if (status.ok())
            prepared_ = name;
    }
    if (status.ok())
        status = executeOnServer("COPY " + prepared_ + " (" + names + ") FROM STDIN", nullptr, PGRES_COPY_IN);
    if (status.ok()) {
        std::string data;
        for (const std::vector<FieldValue>& row : fileRows_) {
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
            status = table_->failure(EngineCode::IoError, "Cannot add records.", {PQerrorMessage(connection)});
    }
    std::int64_t affected = 0;
    if (status.ok())
        status = executeOnServer("INSERT INTO " + table_->qualifiedName() + " (" + names + ") SELECT " + names +
                                     " FROM " + prepared_ + " ORDER BY bulk_order ON CONFLICT DO NOTHING",
                                 &affected);
    if (status.ok())
        status = executeOnServer("TRUNCATE " + prepared_, nullptr);
    if (!status.ok())
        return status;
    added_ += affected;
    inBatch_ += pending();
    fileRows_.clear();
    return EngineStatus::success();
}

EngineStatus BulkInsert::flush()
{
    if (EngineStatus status = table_ ? flushToServer() : insertFileRows(); !status.ok())
        return status;
    inBatch_ = 0;
    if (!inTransaction_)
        return EngineStatus::success();
    inTransaction_ = false;
    if (table_)
        return executeOnServer("COMMIT", nullptr);
    int rc = sqlite3_exec(file_->handle(), "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return file_->sqliteFailure(rc, "Cannot add records.");
    return EngineStatus::success();
}
