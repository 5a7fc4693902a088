#include "BulkInsert.h"

#include "PgDatabase.h"
#include "PgTable.h"
#include "SqliteDatabase.h"
#include "SqliteTableFile.h"
#include "StorableText.h"

namespace {

constexpr std::int64_t fileBatch = 50000;

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
        if (status.ok())
            sqlite3_exec(bulk->file_->handle(), "PRAGMA cache_size = -262144", nullptr, nullptr, nullptr);
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
}

const TableDescription& BulkInsert::description() const
{
    return file_ ? file_->description() : table_->description();
}

EngineStatus BulkInsert::add(const std::vector<FieldValue>& values)
{
    // The engines' own rule, which these statements pass by.
    if (std::string problem = StorableText::problemIn(description(), values); !problem.empty())
        return file_ ? file_->failure(EngineCode::InvalidText, problem)
                     : table_->failure(EngineCode::InvalidText, problem);
    if (file_)
        return addToFile(values);
    const std::vector<FieldDescription>& fields = table_->description().fields;
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        FieldValue value = i < values.size() ? values[i] : FieldValue();
        bool text = fields[i].type == ColumnType::Text;
        if (!text && value && value->empty())
            value.reset();
        if (text)
            value = SqliteTableFile::cutToSize(value.value_or(std::string()), fields[i].size);
        row += (i ? ", " : "(") + (value ? PgConnection::literal(*value) : std::string("NULL"));
    }
    rows_.push_back(row + ")");
    if (pending() >= rowsPerStatement)
        return flushToServer();
    return EngineStatus::success();
}

EngineStatus BulkInsert::addToFile(const std::vector<FieldValue>& values)
{
    sqlite3* db = file_->handle();
    if (!inTransaction_) {
        int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return file_->sqliteFailure(rc, "Cannot add records.");
        inTransaction_ = true;
    }
    int rc = SQLITE_OK;
    if (!insert_) {
        insert_ = std::make_unique<SqliteStatement>();
        std::string sql = SqliteTableFile::insertSql(file_->description());
        rc = insert_->prepare(db, "INSERT OR IGNORE" + sql.substr(6));
    }
    EngineRecord record;
    record.values = values;
    const std::vector<FieldDescription>& fields = file_->description().fields;
    std::vector<FieldValue> stored = file_->storable(record);
    for (size_t i = 0; rc == SQLITE_OK && i < stored.size(); ++i) {
        if (fields[i].type != ColumnType::Text && stored[i] && stored[i]->empty())
            stored[i].reset();
        insert_->bind(static_cast<int>(i) + 1, stored[i]);
    }
    if (rc == SQLITE_OK)
        rc = insert_->step() == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    if (insert_->prepared())
        insert_->reset();
    if (rc != SQLITE_OK)
        return file_->sqliteFailure(rc, "Cannot add records.");
    added_ += sqlite3_changes(db);
    if (++inBatch_ >= fileBatch)
        return flush();
    return EngineStatus::success();
}

EngineStatus BulkInsert::flushToServer()
{
    if (rows_.empty())
        return EngineStatus::success();
    std::string names;
    for (const FieldDescription& field : table_->description().fields)
        names += (names.empty() ? "" : ", ") + PgConnection::quote(field.name);
    std::string sql = "INSERT INTO " + table_->qualifiedName() + " (" + names + ") VALUES ";
    for (size_t i = 0; i < rows_.size(); ++i)
        sql += (i ? ", " : "") + rows_[i];
    sql += " ON CONFLICT DO NOTHING";
    PgResult result(PQexec(table_->connection().handle(), sql.c_str()));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        return table_->failure(EngineCode::IoError, "Cannot add records.", {PQresultErrorMessage(result.get())});
    added_ += result.affected();
    rows_.clear();
    return EngineStatus::success();
}

EngineStatus BulkInsert::flush()
{
    if (table_)
        return flushToServer();
    inBatch_ = 0;
    if (!inTransaction_)
        return EngineStatus::success();
    inTransaction_ = false;
    int rc = sqlite3_exec(file_->handle(), "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return file_->sqliteFailure(rc, "Cannot add records.");
    return EngineStatus::success();
}
