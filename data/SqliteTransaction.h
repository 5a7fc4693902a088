#pragma once
#include <sqlite3.h>

// One write transaction (BEGIN IMMEDIATE), rolled back unless committed:
// a failed step leaves the file as it was.
class SqliteTransaction {
public:
    explicit SqliteTransaction(sqlite3* db) : db_(db) {}
    ~SqliteTransaction()
    {
        if (open_)
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    int begin()
    {
        int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        open_ = rc == SQLITE_OK;
        return rc;
    }
    int commit()
    {
        int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            open_ = false;
        return rc;
    }

private:
    sqlite3* db_;
    bool open_ = false;
};
