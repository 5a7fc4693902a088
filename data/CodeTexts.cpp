#include "CodeTexts.h"

#include "SqliteTableFile.h"

#include <memory>

EngineStatus CodeTexts::read(const std::string& directory, const std::string& tableName, const std::string& key,
                             const std::string& result, int size, Map& out)
{
    std::shared_ptr<SqliteTableFile> file;
    EngineStatus status = SqliteTableFile::open(directory, tableName, file);
    if (!status.ok())
        return status;
    const TableDescription& description = file->description();
    int keyColumn = description.fieldNumber(key), textColumn = description.fieldNumber(result);
    if (keyColumn < 0 || textColumn < 0)
        return file->failure(EngineCode::NoSuchField, "Field '" + (keyColumn < 0 ? key : result) + "' not found");
    const std::string keyName = SqliteTableFile::quote(description.fields[static_cast<size_t>(keyColumn)].name);
    const std::string textName = SqliteTableFile::quote(description.fields[static_cast<size_t>(textColumn)].name);
    SqliteStatement scan;
    int rc = scan.prepare(file->handle(),
                          "SELECT " + keyName + ", " + textName + " FROM records ORDER BY " + keyName + ", rid");
    if (rc != SQLITE_OK)
        return file->sqliteFailure(rc, "Cannot read the code table.");
    while ((rc = scan.step()) == SQLITE_ROW)
        out.emplace(scan.text(0), SqliteTableFile::cutToSize(scan.text(1), size));
    return rc == SQLITE_DONE ? EngineStatus::success() : file->sqliteFailure(rc, "Cannot read the code table.");
}
