#include "BulkInsert.h"

#include "ServerDatabase.h"
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
    if (auto* server = dynamic_cast<ServerDatabase*>(&database)) {
        status = server->openBulkWriter(tableName, bulk->table_);
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

EngineStatus BulkInsert::flushToServer()
{
    std::int64_t affected = 0;
    EngineStatus status = table_->store(fileRows_, affected);
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
    if (table_)
        return table_->commit();
    if (!inTransaction_)
        return EngineStatus::success();
    inTransaction_ = false;
    int rc = sqlite3_exec(file_->handle(), "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return file_->sqliteFailure(rc, "Cannot add records.");
    return EngineStatus::success();
}
