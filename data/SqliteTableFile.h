#pragma once
#include "EngineRecord.h"
#include "EngineStatus.h"
#include "HistoryQuery.h"
#include "HistoryRow.h"
#include "RecordLockFile.h"
#include "SqliteHistory.h"
#include "SqliteKeyOrder.h"
#include "SqliteStatement.h"
#include "TableDescription.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

// One open table file: its SQLite connection, its description, the cached
// statements and the record lock file. Every cursor on the table shares it.
// The file layout is in docs/table-files.md.
class SqliteTableFile {
public:
    // Opens directory/tableName shared, writable when this process can store
    // into it and read-only otherwise (see readOnly()). The file is checked
    // before anything is written to it: a missing, unreadable, foreign,
    // truncated or badly described file is refused with an error naming the
    // table and the path, and stays as it was; so is a file of a newer shape
    // version than the program knows (SchemaNewer).
    static EngineStatus open(const std::string& directory, const std::string& tableName,
                             std::shared_ptr<SqliteTableFile>& out);
    // The same checks but for the version: for reading which version a file
    // has and for upgrading it.
    static EngineStatus openAnyVersion(const std::string& directory, const std::string& tableName,
                                       std::shared_ptr<SqliteTableFile>& out);

    // Creates a new, empty table file at path as described, with the
    // permission bits mode (whatever the umask) and the group (-1: the
    // process's own), recording description.version as its shape's version.
    // Never replaces an existing file (IoError naming it).
    static EngineStatus create(const std::string& path, const TableDescription& description, mode_t mode = 0600,
                               gid_t group = static_cast<gid_t>(-1));

    SqliteTableFile(const SqliteTableFile&) = delete;
    SqliteTableFile& operator=(const SqliteTableFile&) = delete;
    ~SqliteTableFile();

    const TableDescription& description() const { return description_; }
    EngineStatus refreshDescription();
    sqlite3* handle() const { return db_; }
    RecordLockFile& locks() { return *locks_; }

    // Position of an index in description().indexes by name (letter case not
    // significant; empty is the primary index, or the first index), or -1.
    int indexNumber(const std::string& name) const;
    // The key order of index number n; NoSuchIndex when it cannot be followed.
    EngineStatus keyOrder(int number, SqliteKeyOrder*& out);

    // Reads the record with this rowid. RecordNotFound when there is none.
    EngineStatus readRecord(std::int64_t rowid, EngineRecord& out);
    // Reads a record from a statement whose columns are rowid, then every column.
    void readRow(const SqliteStatement& statement, EngineRecord& out) const;

    // Puts the file in write-ahead-log mode when it is not (a file made or
    // restored by another tool): the first write does it, so that opening
    // and reading never change a file. Writers that use handle() call it
    // first; insert, update and remove do.
    EngineStatus readyForWriting();

    // Each is one committed transaction, which also adds the change's
    // history entry when the file keeps a history (a writer of many records,
    // inside its own transaction, inserts without one: recorded false).
    EngineStatus insert(const EngineRecord& record, std::int64_t& rowid, bool recorded = true);
    // Updates the row only when it still holds expected: RecordDeleted or
    // RecordChanged otherwise, and nothing is written.
    EngineStatus update(std::int64_t rowid, const EngineRecord& expected, const EngineRecord& record);
    // RecordGone when the row is not there.
    EngineStatus remove(std::int64_t rowid);
    // Whether the file keeps a change history (see SqliteHistory).
    bool keepsHistory() const { return history_ != nullptr; }
    // The history rows the query asks for; none when the file keeps no history.
    EngineStatus readHistory(const HistoryQuery& query, std::vector<HistoryRow>& out);
    EngineStatus count(std::int64_t& out);
    // This connection's own changes at once, other connections' commits
    // (data_version) within versionInterval.
    EngineStatus changeStamp(std::uint64_t& out);
    // The filtered-scan statement for these columns in this order (see
    // SqliteCursor::findFiltered); null with status set on failure.
    SqliteStatement* filterStatement(const std::vector<int>& columns, const SqliteKeyOrder& order,
                                     EngineStatus& status);
    // Any other reading statement, prepared at first use and kept by its
    // text; null with status set when it cannot be prepared.
    SqliteStatement* cachedStatement(const std::string& sql, EngineStatus& status);

    // Opened read-only because this process cannot store into the table;
    // the causes name the files (see TableFileAccess::writeProblems).
    bool readOnly() const { return readOnly_; }
    const std::vector<std::string>& readOnlyCauses() const { return readOnlyCauses_; }
    // InvalidText naming the first value that is not storable text, or success.
    EngineStatus textFailure(const std::vector<FieldValue>& values) const;
    // ReadOnlyTable with those causes.
    EngineStatus readOnlyFailure() const;

    // A failure naming this table and its file, with SQLite's own text.
    EngineStatus failure(EngineCode code, const std::string& message, std::vector<std::string> detail = {}) const;
    EngineStatus sqliteFailure(int rc, const std::string& message) const;

    // Helpers shared with the key order and the admin tool.
    static std::string quote(const std::string& name);
    static std::string columnList(const TableDescription& description);  // rowid, then every column
    static std::string insertSql(const TableDescription& description);
    // Text cut to size characters by the one cutter (UnicodeText::leftUtf8);
    // size 0 means no limit.
    static std::string cutToSize(const std::string& text, int size);
    // How SQLite's typeof() of a value that is not text reads in a message.
    static std::string storageName(const std::string& type);
    // A record's values made storable: text cut to size, null text as ''.
    std::vector<FieldValue> storable(const EngineRecord& record) const;

private:
    SqliteTableFile(std::string tableName, std::string path) : tableName_(std::move(tableName)), path_(std::move(path))
    {
    }
    EngineStatus checkFile() const;
    EngineStatus connect();
    bool readable() const;
    static std::string uriOf(const std::string& path, bool immutable);
    EngineStatus readDescription(TableDescription& out) const;
    EngineStatus checkSchema(const TableDescription& description) const;
    EngineStatus checkVersion() const;
    EngineStatus checkKeyTypes() const;
    // readDescription, checkSchema and checkKeyTypes in one read transaction.
    EngineStatus readAndCheck();
    EngineStatus readLogMode();
    EngineStatus prepare(std::unique_ptr<SqliteStatement>& slot, const std::string& sql);
    EngineStatus execute(const char* sql);
    EngineStatus insertRow(const std::vector<FieldValue>& values, std::int64_t& rowid);
    EngineStatus addHistory(const char* kind, const std::string& key, const std::string& oldKey,
                            const std::vector<HistoryField>& fields, const char* what);

    std::string tableName_;
    std::string path_;
    sqlite3* db_ = nullptr;
    bool readOnly_ = false;
    bool logged_ = false;  // in write-ahead-log mode
    std::vector<std::string> readOnlyCauses_;
    TableDescription description_;
    std::shared_ptr<RecordLockFile> locks_;
    std::unique_ptr<SqliteHistory> history_;
    std::map<std::string, std::unique_ptr<SqliteKeyOrder>> orders_;
    std::map<std::string, std::unique_ptr<SqliteStatement>> filters_;
    std::map<std::string, std::unique_ptr<SqliteStatement>> updates_;  // by changed columns, "0110..."
    std::unique_ptr<SqliteStatement> readStatement_, insertStatement_, deleteStatement_, countStatement_,
        versionStatement_;
    static constexpr std::chrono::milliseconds versionInterval{100};
    std::chrono::steady_clock::time_point versionCheckedAt_{};
    std::uint64_t dataVersion_ = 0;
};
