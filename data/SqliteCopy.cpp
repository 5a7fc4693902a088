#include "SqliteCopy.h"

#include <chrono>
#include <thread>

std::string SqliteCopy::copy(sqlite3* from, sqlite3* to)
{
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return sqlite3_errmsg(to);
    int rc;
    for (int tries = 0;; ++tries) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || tries > 500)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return sqlite3_errstr(rc);
    return finished == SQLITE_OK ? std::string() : sqlite3_errmsg(to);
}

sqlite3* SqliteCopy::open(const std::string& path, bool readOnly, bool create, std::string& error)
{
    sqlite3* db = nullptr;
    int rc;
    if (readOnly) {
        // A path in a URI: '%', '?' and '#' must be escaped.
        std::string uri = "file:";
        for (char c : path) {
            if (c == '%' || c == '?' || c == '#') {
                static const char digits[] = "0123456789ABCDEF";
                uri += '%';
                uri += digits[(static_cast<unsigned char>(c) >> 4) & 0xF];
                uri += digits[static_cast<unsigned char>(c) & 0xF];
            } else {
                uri += c;
            }
        }
        rc = sqlite3_open_v2((uri + "?immutable=1").c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    } else {
        rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0), nullptr);
    }
    if (rc != SQLITE_OK) {
        error = path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}

bool SqliteCopy::counts(sqlite3* db, std::int64_t& records, std::int64_t& last, std::string& error)
{
    sqlite3_stmt* stmt = nullptr;
    const char* sql = "SELECT (SELECT count(*) FROM records), "
                      "max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = 'records'), 0), "
                      "coalesce((SELECT max(rid) FROM records), 0))";
    bool ok = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW;
    if (ok) {
        records = sqlite3_column_int64(stmt, 0);
        last = sqlite3_column_int64(stmt, 1);
    } else {
        error = sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    return ok;
}

std::string SqliteCopy::integrity(sqlite3* db)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) != SQLITE_OK)
        return sqlite3_errmsg(db);
    std::string result;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        result +=
            (result.empty() ? "" : "; ") + std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    if (rc != SQLITE_DONE)
        result = sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    return result;
}
