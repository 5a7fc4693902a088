#pragma once
#include "HistoryField.h"
#include "HistoryQuery.h"
#include "HistoryRow.h"
#include "SqliteStatement.h"

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

// The change history kept inside a table file, in its own SQLite table
// "history", so that an entry commits with the record in one transaction.
// Triggers refuse every UPDATE and DELETE of it. The layout is in
// docs/table-files.md.
class SqliteHistory {
public:
    // The statements that make the history table of a file, empty; harmless
    // when it is there. Run only by the upgrade step that brings a file to
    // the version with histories (ChangeHistory::upgradeStep), which new
    // files pass through too.
    static const char* createSql();
    // Whether the file holds a history table.
    static bool present(sqlite3* db);

    SqliteHistory(sqlite3* db, std::string tableName) : db_(db), tableName_(std::move(tableName)) {}

    // Adds one entry inside the caller's write transaction. SQLite's result code.
    int add(const std::string& kind, const std::string& key, const std::string& oldKey,
            const std::vector<HistoryField>& fields);
    // Reads the rows the query asks for, newest entry first.
    int read(const HistoryQuery& query, std::vector<HistoryRow>& out);

private:
    int prepare(std::unique_ptr<SqliteStatement>& slot, const std::string& sql);
    static void appendJson(std::string& json, const FieldValue& value);
    // The entry's fields as stored: a JSON array of [field, old, new].
    static std::string fieldsJson(const std::vector<HistoryField>& fields);

    sqlite3* db_;
    std::string tableName_;
    std::unique_ptr<SqliteStatement> insert_;
    std::unique_ptr<SqliteStatement> reads_[4];  // by key given, since given
};
