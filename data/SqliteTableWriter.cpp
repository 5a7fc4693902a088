#include "SqliteTableWriter.h"

#include "SqliteTableFile.h"

SqliteTableWriter::SqliteTableWriter(std::shared_ptr<SqliteTableFile> file)
    : file_(std::move(file)), transaction_(file_->handle())
{
}

SqliteTableWriter::~SqliteTableWriter()
{
    // Finalized before the transaction's rollback.
    statements_.clear();
}

EngineStatus SqliteTableWriter::open(const std::string& directory, const std::string& tableName,
                                     std::unique_ptr<TableWriter>& out)
{
    std::shared_ptr<SqliteTableFile> file;
    EngineStatus status = SqliteTableFile::open(directory, tableName, file);
    if (!status.ok())
        return status;
    if (file->readOnly())
        return file->readOnlyFailure();
    if (status = file->readyForWriting(); !status.ok())
        return status;
    // One large transaction: a bigger page cache keeps the index pages it
    // touches from spilling to the log before the commit (bounded: 32 MB).
    sqlite3_exec(file->handle(), "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    std::unique_ptr<SqliteTableWriter> writer(new SqliteTableWriter(std::move(file)));
    int rc = writer->transaction_.begin();
    if (rc != SQLITE_OK)
        return writer->file_->sqliteFailure(rc, "Cannot store the records.");
    out = std::move(writer);
    return EngineStatus::success();
}

const TableDescription& SqliteTableWriter::description() const
{
    return file_->description();
}

EngineStatus SqliteTableWriter::prepared(const std::string& sql, SqliteStatement*& out)
{
    std::unique_ptr<SqliteStatement>& slot = statements_[sql];
    if (!slot) {
        auto statement = std::make_unique<SqliteStatement>();
        int rc = statement->prepare(file_->handle(), sql);
        if (rc != SQLITE_OK) {
            statements_.erase(sql);
            return file_->sqliteFailure(rc, "Cannot store the records.");
        }
        slot = std::move(statement);
    }
    out = slot.get();
    return EngineStatus::success();
}

EngineStatus SqliteTableWriter::run(SqliteStatement& statement, const char* what)
{
    int rc = statement.step();
    statement.reset();
    if ((rc & 0xFF) == SQLITE_CONSTRAINT)
        return file_->failure(EngineCode::KeyViolation, "Key violation.",
                              {"A record with the same key already exists.", sqlite3_errmsg(file_->handle())});
    return rc == SQLITE_DONE ? EngineStatus::success() : file_->sqliteFailure(rc, what);
}

EngineStatus SqliteTableWriter::insert(const EngineRecord& record)
{
    std::int64_t rowid = 0;
    return file_->insert(record, rowid, false);
}

EngineStatus SqliteTableWriter::replace(const std::vector<int>& keyColumns, const EngineRecord& record)
{
    const TableDescription& table = file_->description();
    std::string set, where;
    for (size_t i = 0; i < table.fields.size(); ++i)
        set += std::string(i ? ", " : "") + SqliteTableFile::quote(table.fields[i].name) + " = ?";
    for (size_t i = 0; i < keyColumns.size(); ++i)
        where += std::string(i ? " AND " : "") +
                 SqliteTableFile::quote(table.fields[static_cast<size_t>(keyColumns[i])].name) + " = ?";
    SqliteStatement* update = nullptr;
    EngineStatus status = prepared("UPDATE records SET " + set + " WHERE " + where, update);
    if (!status.ok())
        return status;
    std::vector<FieldValue> values = file_->storable(record);
    int parameter = 0;
    for (const FieldValue& value : values)
        update->bind(++parameter, value);
    for (int column : keyColumns)
        update->bind(++parameter, values[static_cast<size_t>(column)]);
    status = run(*update, "Cannot store the records.");
    if (status.ok() && sqlite3_changes(file_->handle()) == 0)
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    return status;
}

EngineStatus SqliteTableWriter::removeAll()
{
    SqliteStatement* remove = nullptr;
    EngineStatus status = prepared("DELETE FROM records", remove);
    return status.ok() ? run(*remove, "Cannot delete the records.") : status;
}

EngineStatus SqliteTableWriter::insertNumbered(const EngineRecord& record)
{
    const TableDescription& table = file_->description();
    std::string placeholders = "?";
    for (size_t i = 0; i < table.fields.size(); ++i)
        placeholders += ", ?";
    SqliteStatement* insert = nullptr;
    EngineStatus status = prepared(
        "INSERT INTO records (" + SqliteTableFile::columnList(table) + ") VALUES (" + placeholders + ")", insert);
    if (!status.ok())
        return status;
    insert->bindInt64(1, record.bookmark);
    int parameter = 1;
    std::vector<FieldValue> values = file_->storable(record);
    for (size_t i = 0; i < values.size(); ++i) {
        // No date is null, as every store keeps it.
        bool noDate = table.fields[i].type != ColumnType::Text && values[i] && values[i]->empty();
        insert->bind(++parameter, noDate ? FieldValue() : values[i]);
    }
    return run(*insert, "Cannot store the records.");
}

EngineStatus SqliteTableWriter::setLastRecordNumber(std::int64_t last)
{
    SqliteStatement *clear = nullptr, *set = nullptr;
    EngineStatus status = prepared("DELETE FROM sqlite_sequence WHERE name = 'records'", clear);
    if (status.ok())
        status = run(*clear, "Cannot store the records.");
    if (status.ok())
        status = prepared("INSERT INTO sqlite_sequence (name, seq) VALUES ('records', ?)", set);
    if (!status.ok())
        return status;
    set->bindInt64(1, last);
    return run(*set, "Cannot store the records.");
}

EngineStatus SqliteTableWriter::commit()
{
    statements_.clear();
    int rc = transaction_.commit();
    return rc == SQLITE_OK ? EngineStatus::success() : file_->sqliteFailure(rc, "Cannot store the records.");
}
