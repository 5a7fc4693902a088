#include "TableFiles.h"

#include "SqliteCursor.h"
#include "SqliteDatabase.h"
#include "SqliteStatement.h"
#include "SqliteTableFile.h"

std::unique_ptr<EngineDatabase> TableFiles::database(const std::string& directory)
{
    return std::make_unique<SqliteDatabase>(directory);
}

bool TableFiles::holds(const EngineDatabase& database)
{
    return dynamic_cast<const SqliteDatabase*>(&database) != nullptr;
}

std::string TableFiles::quote(const std::string& name)
{
    return SqliteTableFile::quote(name);
}

std::string TableFiles::cutToSize(const std::string& text, int size)
{
    return SqliteTableFile::cutToSize(text, size);
}

std::string TableFiles::storageName(const std::string& type)
{
    return SqliteTableFile::storageName(type);
}

std::string TableFiles::quickCheck(EngineCursor& cursor)
{
    auto* sqlite = dynamic_cast<SqliteCursor*>(&cursor);
    if (!sqlite)
        return "ok";
    sqlite3* db = sqlite->tableFile().handle();
    SqliteStatement check;
    if (check.prepare(db, "PRAGMA quick_check") != SQLITE_OK)
        return sqlite3_errmsg(db);
    std::string result;
    int rc;
    while ((rc = check.step()) == SQLITE_ROW)
        result += (result.empty() ? "" : "; ") + check.text(0);
    if (rc != SQLITE_DONE)
        return sqlite3_errmsg(db);
    return result;
}
