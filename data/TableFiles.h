#pragma once
#include "EngineCursor.h"
#include "EngineDatabase.h"

#include <memory>
#include <string>

// The table-file engine as the admin tool sees it beyond EngineDatabase:
// a directory's database, the names and texts as the files store them, and
// the engine's own check of a file.
class TableFiles {
public:
    // The table files in directory.
    static std::unique_ptr<EngineDatabase> database(const std::string& directory);
    // Whether database is a directory of table files.
    static bool holds(const EngineDatabase& database);
    // A column name quoted for the files' SQL.
    static std::string quote(const std::string& name);
    // text cut to at most size characters, as the files store it.
    static std::string cutToSize(const std::string& text, int size);
    // What a stored value of another type is called in messages ("binary data").
    static std::string storageName(const std::string& type);
    // The engine's quick check of the file under cursor: "ok", or what is
    // damaged; "ok" for a table not in a file.
    static std::string quickCheck(EngineCursor& cursor);
};
