#include "SqliteDatabase.h"

#include "SqliteBulkWriter.h"
#include "SqliteCursor.h"
#include "SqliteSnapshot.h"
#include "SqliteTableFile.h"
#include "SqliteTableWriter.h"

EngineStatus SqliteDatabase::openTable(const std::string& tableName, const std::string& indexName,
                                       std::unique_ptr<EngineCursor>& out)
{
    if (tableName.empty() || tableName.find('/') != std::string::npos)
        return EngineStatus::failure(EngineCode::TableMissing, "Invalid table name: '" + tableName + "'.",
                                     {"Directory: " + directory_});
    std::shared_ptr<SqliteTableFile> file;
    EngineStatus status = SqliteTableFile::open(directory_, tableName, file);
    if (!status.ok())
        return status;
    return SqliteCursor::open(std::move(file), indexName, out);
}

EngineStatus SqliteDatabase::openSnapshot(std::unique_ptr<EngineSnapshot>& out)
{
    out = std::make_unique<SqliteSnapshot>(directory_);
    return EngineStatus::success();
}

EngineStatus SqliteDatabase::openWriter(const std::string& tableName, std::unique_ptr<TableWriter>& out)
{
    return SqliteTableWriter::open(directory_, tableName, out);
}

EngineStatus SqliteDatabase::openBulkWriter(const std::string& tableName, std::unique_ptr<BulkWriter>& out)
{
    return SqliteBulkWriter::open(directory_, tableName, out);
}
