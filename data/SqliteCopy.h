#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <string>

// Whole-database copies through SQLite's online backup: the source is read
// in one step, inside one read transaction, so the copy is the database at
// one moment; in write-ahead-log mode writers go on meanwhile.
class SqliteCopy {
public:
    // Copies the database of from into to (main into main). Empty when
    // done, else SQLite's message. Waits while the destination is busy.
    static std::string copy(sqlite3* from, sqlite3* to);
    // Opens path: read-only and as an unchanging file (no log, no locks),
    // or read-write, created when create. Null with error set on failure.
    static sqlite3* open(const std::string& path, bool readOnly, bool create, std::string& error);
    // Record count and highest record number ever given out of a table file.
    static bool counts(sqlite3* db, std::int64_t& records, std::int64_t& last, std::string& error);
    // SQLite's integrity check: "ok" or what it found.
    static std::string integrity(sqlite3* db);
};
