#include "SqliteBulkWriter.h"

#include <algorithm>

namespace {

// The rows outlive the statement's run, so their texts are not copied.
void bindStored(sqlite3_stmt* statement, int parameter, const FieldValue& value)
{
    if (value)
        sqlite3_bind_text(statement, parameter, value->data(), static_cast<int>(value->size()), SQLITE_STATIC);
    else
        sqlite3_bind_null(statement, parameter);
}

}  // namespace

EngineStatus SqliteBulkWriter::open(const std::string& directory, const std::string& tableName,
                                    std::unique_ptr<BulkWriter>& out)
{
    std::shared_ptr<SqliteTableFile> file;
    EngineStatus status = SqliteTableFile::open(directory, tableName, file);
    if (status.ok())
        status = file->readyForWriting();
    if (!status.ok())
        return status;
    // A bounded cache keeps memory flat however many records are added; a
    // larger one saves little, as most pages a run touches are new.
    sqlite3_exec(file->handle(), "PRAGMA cache_size = -16384", nullptr, nullptr, nullptr);
    out.reset(new SqliteBulkWriter(std::move(file)));
    return EngineStatus::success();
}

SqliteBulkWriter::~SqliteBulkWriter()
{
    insert_.reset();
    if (inTransaction_)
        sqlite3_exec(file_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

size_t SqliteBulkWriter::rowsPerStatement(size_t columns)
{
    return std::clamp<size_t>(999 / std::max<size_t>(columns, 1), 1, 64);
}

EngineStatus SqliteBulkWriter::begin()
{
    if (inTransaction_)
        return EngineStatus::success();
    int rc = sqlite3_exec(file_->handle(), "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return file_->sqliteFailure(rc, "Cannot add records.");
    inTransaction_ = true;
    return EngineStatus::success();
}

// The rows in one INSERT OR IGNORE, in the order given.
EngineStatus SqliteBulkWriter::store(const std::vector<std::vector<FieldValue>>& rows, std::int64_t& added)
{
    added = 0;
    if (rows.empty())
        return EngineStatus::success();
    if (EngineStatus status = begin(); !status.ok())
        return status;
    sqlite3* db = file_->handle();
    const size_t columns = file_->description().fields.size();
    std::unique_ptr<SqliteStatement> partial;
    std::unique_ptr<SqliteStatement>& statement = rows.size() == rowsPerStore() ? insert_ : partial;
    int rc = SQLITE_OK;
    if (!statement) {
        statement = std::make_unique<SqliteStatement>();
        std::string sql = SqliteTableFile::insertSql(file_->description());
        std::string row = sql.substr(sql.rfind(" ("));
        for (size_t i = 1; i < rows.size(); ++i)
            sql += "," + row;
        rc = statement->prepare(db, "INSERT OR IGNORE" + sql.substr(6));
    }
    int parameter = 1;
    for (size_t r = 0; rc == SQLITE_OK && r < rows.size(); ++r)
        for (size_t i = 0; i < columns; ++i)
            bindStored(statement->get(), parameter++, rows[r][i]);
    if (rc == SQLITE_OK)
        rc = statement->step() == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    if (statement->prepared())
        statement->reset();
    if (rc != SQLITE_OK)
        return file_->sqliteFailure(rc, "Cannot add records.");
    added = sqlite3_changes(db);
    return EngineStatus::success();
}

EngineStatus SqliteBulkWriter::commit()
{
    if (!inTransaction_)
        return EngineStatus::success();
    inTransaction_ = false;
    int rc = sqlite3_exec(file_->handle(), "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return file_->sqliteFailure(rc, "Cannot add records.");
    return EngineStatus::success();
}
