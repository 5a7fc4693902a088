#include "SqliteTableFile.h"

#include "ChangeHistory.h"
#include "FieldNames.h"
#include "SchemaSteps.h"
#include "SqlIdentifier.h"
#include "SqliteTransaction.h"
#include "StorableText.h"
#include "TableFileAccess.h"
#include "UnicodeText.h"

#include <cctype>
#include <cstdio>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* fileMagic = "SQLite format 3";
const std::string damagedText = "The table file is damaged.";

std::uint32_t bigEndian(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

std::string sqlLiteral(const std::string& text)
{
    char* quoted = sqlite3_mprintf("%Q", text.c_str());
    std::string literal = quoted;
    sqlite3_free(quoted);
    return literal;
}

const char* typeName(ColumnType type)
{
    return type == ColumnType::Date ? "Date" : "String";
}

// Reads the first bytes of the file through SQLite's own file layer. A
// descriptor of ours, once closed, would drop every POSIX lock this process
// holds on the file, those of its open connections included; another
// process could then checkpoint or remove the log under them and corrupt the
// file. SQLite keeps such a descriptor open until its locks are gone.
bool readHeader(const std::string& path, unsigned char* header, int size)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_file* file = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file);
    bool read = rc == SQLITE_OK && file && file->pMethods && file->pMethods->xRead(file, header, size, 0) == SQLITE_OK;
    sqlite3_close(db);
    return read;
}

}  // namespace

SqliteTableFile::~SqliteTableFile()
{
    orders_.clear();
    filters_.clear();
    readStatement_.reset();
    insertStatement_.reset();
    updates_.clear();
    deleteStatement_.reset();
    countStatement_.reset();
    history_.reset();
    sqlite3_close_v2(db_);
}

std::string SqliteTableFile::quote(const std::string& name)
{
    return quotedIdentifier(name);
}

std::string SqliteTableFile::columnList(const TableDescription& description)
{
    std::string list = "rid";
    for (const FieldDescription& field : description.fields)
        list += ", " + quote(field.name);
    return list;
}

std::string SqliteTableFile::insertSql(const TableDescription& description)
{
    std::string names, values;
    for (size_t i = 0; i < description.fields.size(); ++i) {
        names += (i ? ", " : "") + quote(description.fields[i].name);
        values += i ? ", ?" : "?";
    }
    return "INSERT INTO records (" + names + ") VALUES (" + values + ")";
}

std::string SqliteTableFile::cutToSize(const std::string& text, int size)
{
    return size <= 0 ? text : UnicodeText::leftUtf8(text, static_cast<size_t>(size));
}

std::vector<FieldValue> SqliteTableFile::storable(const EngineRecord& record) const
{
    std::vector<FieldValue> values(description_.fields.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const FieldDescription& field = description_.fields[i];
        FieldValue value = i < record.values.size() ? record.values[i] : FieldValue();
        if (field.type == ColumnType::Text)
            values[i] = cutToSize(value.value_or(std::string()), field.size);
        else
            values[i] = value;
    }
    return values;
}

EngineStatus SqliteTableFile::failure(EngineCode code, const std::string& message,
                                      std::vector<std::string> detail) const
{
    detail.push_back("Table: " + tableName_);
    detail.push_back("File: " + path_);
    return EngineStatus::failure(code, message, std::move(detail));
}

EngineStatus SqliteTableFile::textFailure(const std::vector<FieldValue>& values) const
{
    std::string problem = StorableText::problemIn(description_, values);
    return problem.empty() ? EngineStatus::success() : failure(EngineCode::InvalidText, problem);
}

EngineStatus SqliteTableFile::readOnlyFailure() const
{
    return failure(EngineCode::ReadOnlyTable, "The table is read-only.", readOnlyCauses_);
}

EngineStatus SqliteTableFile::sqliteFailure(int rc, const std::string& message) const
{
    EngineCode code = EngineCode::Internal;
    switch (rc & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        code = EngineCode::TableCorrupt;
        break;
    case SQLITE_READONLY:
        code = EngineCode::ReadOnlyTable;
        break;
    case SQLITE_CONSTRAINT:
        code = EngineCode::KeyViolation;
        break;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        code = EngineCode::Unreadable;
        break;
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        code = EngineCode::IoError;
        break;
    default:
        break;
    }
    std::string native = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    int system = db_ ? sqlite3_system_errno(db_) : 0;
    // A full disk shows as an I/O error of whatever the engine was doing
    // (growing the shared memory, writing the log): say what it is.
    if ((rc & 0xFF) == SQLITE_FULL || system == ENOSPC || system == EDQUOT)
        return failure(EngineCode::IoError, "No space left on the device holding " + path_, {native});
    if (code == EngineCode::TableCorrupt || message != damagedText)
        return failure(code, message, {native});
    // "Damaged" only for damaged contents; anything else says its cause.
    std::string cause = system != 0 ? std::string(std::strerror(system)) : native;
    if (code == EngineCode::IoError && (rc & 0xFF) != SQLITE_IOERR)
        return failure(code, "The table file is busy.", {native});
    return failure(code, "Cannot use the table file: " + cause, {native});
}

// Checks what can be checked without SQLite, so that nothing writes to a
// file that is not one of ours.
EngineStatus SqliteTableFile::checkFile() const
{
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return failure(EngineCode::TableMissing, "Table does not exist.");
        return failure(EngineCode::Unreadable, "Cannot read the table file.", {std::strerror(errno)});
    }
    if (!S_ISREG(info.st_mode))
        return failure(EngineCode::NotATable, "Not a table file.", {"It is not a regular file."});
    for (const char* suffix : {"-wal", "-shm"}) {
        std::string side = path_ + suffix;
        struct stat sideInfo {};
        if (::lstat(side.c_str(), &sideInfo) != 0 || S_ISREG(sideInfo.st_mode) || S_ISLNK(sideInfo.st_mode))
            continue;
        std::string what = S_ISDIR(sideInfo.st_mode)    ? std::strerror(EISDIR)
                           : S_ISFIFO(sideInfo.st_mode) ? "it is a FIFO, not a regular file"
                                                        : "it is not a regular file";
        return failure(EngineCode::Unreadable, "Cannot open " + side + ": " + what);
    }
    if (::access(path_.c_str(), R_OK) != 0)
        return failure(EngineCode::Unreadable, "Cannot read the table file.", {std::strerror(errno)});
    unsigned char header[100] = {};
    if (!readHeader(path_, header, sizeof header) || std::memcmp(header, fileMagic, 16) != 0)
        return failure(EngineCode::NotATable, "Not a table file.", {"The file is not a table file of this engine."});
    std::uint32_t pageSize = bigEndian(header + 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    std::uint32_t pages = bigEndian(header + 28, 4);
    bool pagesValid = bigEndian(header + 24, 4) == bigEndian(header + 92, 4);
    // A write-ahead log still to be replayed may hold the pages that are
    // missing; only a file without one must be whole.
    struct stat wal {};
    bool pendingLog = ::stat((path_ + "-wal").c_str(), &wal) == 0 && wal.st_size > 0;
    if (pagesValid && !pendingLog && static_cast<std::uint64_t>(info.st_size) < std::uint64_t(pageSize) * pages)
        return failure(EngineCode::TableCorrupt, "The table file is truncated.",
                       {std::to_string(info.st_size) + " bytes of " + std::to_string(std::uint64_t(pageSize) * pages)});
    return EngineStatus::success();
}

EngineStatus SqliteTableFile::connect()
{
    int flags = (readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    int rc = sqlite3_open_v2(uriOf(path_, false).c_str(), &db_, flags, nullptr);
    if (rc == SQLITE_OK && readOnly_ && !readable()) {
        // Reading a log-journalled file needs its shared-memory file; in a
        // directory this process cannot write, with no log left to replay,
        // the file is read as it stands.
        struct stat wal {};
        bool pendingLog = ::stat((path_ + "-wal").c_str(), &wal) == 0 && wal.st_size > 0;
        if (!pendingLog) {
            sqlite3_close_v2(db_);
            db_ = nullptr;
            rc = sqlite3_open_v2(uriOf(path_, true).c_str(), &db_, flags, nullptr);
        }
    }
    if (rc != SQLITE_OK)
        return sqliteFailure(rc, "Cannot open the table file.");
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    return EngineStatus::success();
}

std::string SqliteTableFile::uriOf(const std::string& path, bool immutable)
{
    std::string uri = "file:";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri + (immutable ? "?immutable=1" : "");
}

bool SqliteTableFile::readable() const
{
    SqliteStatement probe;
    int rc = probe.prepare(db_, "SELECT count(*) FROM sqlite_master");
    if (rc == SQLITE_OK)
        rc = probe.step();
    return rc == SQLITE_ROW;
}

EngineStatus SqliteTableFile::execute(const char* sql)
{
    int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return sqliteFailure(rc, "Cannot prepare the table file.");
    return EngineStatus::success();
}

EngineStatus SqliteTableFile::readDescription(TableDescription& out) const
{
    out = TableDescription{};
    out.tableName = tableName_;
    out.path = path_;
    SqliteStatement statement;
    int rc = statement.prepare(db_, "SELECT name, type, size, default_value FROM table_columns ORDER BY position");
    if (rc != SQLITE_OK) {
        if ((rc & 0xFF) == SQLITE_ERROR)
            return failure(EngineCode::NotATable, "Not a table file.", {"The file holds no table description."});
        return sqliteFailure(rc, "The table file is damaged.");
    }
    while ((rc = statement.step()) == SQLITE_ROW) {
        FieldDescription field;
        field.name = statement.text(0);
        field.typeName = statement.text(1);
        field.type = field.typeName == "String" ? ColumnType::Text
                     : field.typeName == "Date" ? ColumnType::Date
                                                : ColumnType::Other;
        field.size = static_cast<int>(statement.int64(2));
        field.hasDefault = !statement.isNull(3);
        field.defaultValue = statement.text(3);
        out.fields.push_back(field);
    }
    if (rc != SQLITE_DONE)
        return sqliteFailure(rc, "The table file is damaged.");
    if (out.fields.empty())
        return failure(EngineCode::NotATable, "Not a table file.", {"The table description lists no columns."});

    rc = statement.prepare(db_, "SELECT name, fields, is_primary, is_unique, is_descending, is_case_insensitive, "
                                "expression FROM table_indexes ORDER BY is_primary DESC, position");
    if (rc != SQLITE_OK)
        return failure(EngineCode::NotATable, "Not a table file.", {"The file holds no index description."});
    while ((rc = statement.step()) == SQLITE_ROW) {
        IndexDescription index;
        index.name = statement.text(0);
        index.fields = FieldNames::split(statement.text(1));
        index.primary = statement.int64(2) != 0;
        index.unique = statement.int64(3) != 0 || index.primary;
        index.descending = statement.int64(4) != 0;
        index.caseInsensitive = statement.int64(5) != 0;
        index.expression = !statement.isNull(6);
        index.expressionText = statement.text(6);
        out.indexes.push_back(index);
    }
    if (rc != SQLITE_DONE)
        return sqliteFailure(rc, "The table file is damaged.");
    // Files made before versions were recorded hold 0: version 1.
    rc = statement.prepare(db_, "PRAGMA user_version");
    if (rc == SQLITE_OK)
        rc = statement.step();
    if (rc != SQLITE_ROW)
        return sqliteFailure(rc, "The table file is damaged.");
    out.version = std::max(1, static_cast<int>(statement.int64(0)));
    return EngineStatus::success();
}

EngineStatus SqliteTableFile::checkVersion() const
{
    int known = SchemaSteps::active().version();
    if (description_.version <= known)
        return EngineStatus::success();
    return failure(EngineCode::SchemaNewer, SchemaSteps::newerMessage(),
                   {SchemaSteps::newerDetail(tableName_, description_.version, known)});
}

EngineStatus SqliteTableFile::checkSchema(const TableDescription& description) const
{
    SqliteStatement columns;
    int rc = columns.prepare(db_, "SELECT name FROM pragma_table_info('records')");
    if (rc != SQLITE_OK)
        return sqliteFailure(rc, "The table file is damaged.");
    std::vector<std::string> present;
    while ((rc = columns.step()) == SQLITE_ROW)
        present.push_back(columns.text(0));
    if (rc != SQLITE_DONE)
        return sqliteFailure(rc, "The table file is damaged.");
    if (present.empty())
        return failure(EngineCode::NotATable, "Not a table file.", {"The file holds no records table."});
    for (const FieldDescription& field : description.fields) {
        bool found = false;
        for (const std::string& name : present)
            found = found || strcasecmp(name.c_str(), field.name.c_str()) == 0;
        if (!found)
            return failure(EngineCode::TableCorrupt, "The table file is damaged.",
                           {"Column '" + field.name + "' is described but missing."});
    }
    SqliteStatement index;
    rc = index.prepare(db_, "SELECT 1 FROM sqlite_schema WHERE type = 'index' AND name = ?");
    if (rc != SQLITE_OK)
        return sqliteFailure(rc, "The table file is damaged.");
    for (const IndexDescription& described : description.indexes) {
        if (described.expression)
            continue;
        index.reset();
        index.bindText(1, "index_" + described.name);
        rc = index.step();
        if (rc == SQLITE_DONE)
            return failure(EngineCode::TableCorrupt, "The table file is damaged.",
                           {"Index '" + described.name + "' is described but missing."});
        if (rc != SQLITE_ROW)
            return sqliteFailure(rc, "The table file is damaged.");
    }
    // Touch the records themselves, so that a damaged tree shows now.
    SqliteStatement last;
    rc = last.prepare(db_, "SELECT max(rid) FROM records");
    if (rc == SQLITE_OK)
        rc = last.step();
    if (rc != SQLITE_ROW)
        return sqliteFailure(rc, "The table file is damaged.");
    return EngineStatus::success();
}

// A key of another storage type (binary data written by another tool) sorts
// after every text, so a cursor, which binds its position as text, could
// never step past it. Each index finds one in a seek (key columns are NOT
// NULL, and numbers become text in a text column).
EngineStatus SqliteTableFile::checkKeyTypes() const
{
    for (const IndexDescription& index : description_.indexes) {
        if (index.expression || index.fields.empty())
            continue;
        std::string column = quote(index.fields.front());
        std::string collate = index.caseInsensitive ? " COLLATE NOCASE" : "";
        SqliteStatement probe;
        int rc = probe.prepare(db_, "SELECT rid, typeof(" + column + ") FROM records WHERE " + column + " >= x''" +
                                        collate + " LIMIT 1");
        if (rc == SQLITE_OK)
            rc = probe.step();
        if (rc == SQLITE_ROW)
            return failure(EngineCode::TableCorrupt, "The table file holds a value of another type.",
                           {"Field '" + index.fields.front() + "' of record " + std::to_string(probe.int64(0)) +
                            " holds " + storageName(probe.text(1)) + ", not text."});
        if (rc != SQLITE_DONE)
            return sqliteFailure(rc, "The table file is damaged.");
    }
    return EngineStatus::success();
}

std::string SqliteTableFile::storageName(const std::string& type)
{
    if (type == "blob")
        return "binary data";
    if (type == "null")
        return "no value (NULL)";
    return "a number";
}

EngineStatus SqliteTableFile::open(const std::string& directory, const std::string& tableName,
                                   std::shared_ptr<SqliteTableFile>& out)
{
    std::shared_ptr<SqliteTableFile> file;
    EngineStatus status = openAnyVersion(directory, tableName, file);
    if (status.ok())
        status = file->checkVersion();
    if (status.ok())
        out = std::move(file);
    return status;
}

EngineStatus SqliteTableFile::openAnyVersion(const std::string& directory, const std::string& tableName,
                                             std::shared_ptr<SqliteTableFile>& out)
{
    std::shared_ptr<SqliteTableFile> file(new SqliteTableFile(tableName, directory + "/" + tableName));
    EngineStatus status = file->checkFile();
    if (status.ok()) {
        // A table this process cannot store into opens read-only, so that
        // editing is refused at once and not after the clerk typed a record.
        TableFileAccess::mendSideFiles(file->path_);
        file->readOnlyCauses_ = TableFileAccess::writeProblems(file->path_);
        file->readOnly_ = !file->readOnlyCauses_.empty();
        status = file->connect();
    }
    if (status.ok())
        status = file->readAndCheck();
    if (status.ok())
        status = file->readLogMode();
    if (status.ok())
        status = file->execute("PRAGMA synchronous = FULL");
    if (!status.ok())
        return status;
    if (SqliteHistory::present(file->db_))
        file->history_ = std::make_unique<SqliteHistory>(file->db_, file->tableName_);
    file->locks_ = RecordLockFile::forPath(file->path_ + ".lck", file->path_);
    out = std::move(file);
    return EngineStatus::success();
}

// The description and the checks read one snapshot in one read
// transaction, not one transaction (and its locks) per statement.
EngineStatus SqliteTableFile::readAndCheck()
{
    EngineStatus status = execute("BEGIN");
    if (!status.ok())
        return status;
    status = readDescription(description_);
    if (status.ok())
        status = checkSchema(description_);
    if (status.ok())
        status = checkKeyTypes();
    sqlite3_exec(db_, status.ok() ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
    return status;
}

EngineStatus SqliteTableFile::readLogMode()
{
    SqliteStatement mode;
    int rc = mode.prepare(db_, "PRAGMA journal_mode");
    if (rc == SQLITE_OK)
        rc = mode.step();
    if (rc != SQLITE_ROW)
        return sqliteFailure(rc, "The table file is damaged.");
    logged_ = mode.text(0) == "wal";
    return EngineStatus::success();
}

EngineStatus SqliteTableFile::readyForWriting()
{
    if (logged_ || readOnly_)
        return EngineStatus::success();
    EngineStatus status = execute("PRAGMA journal_mode = WAL");
    logged_ = status.ok();
    return status;
}

EngineStatus SqliteTableFile::refreshDescription()
{
    TableDescription description;
    EngineStatus status = readDescription(description);
    if (status.ok())
        description_ = std::move(description);
    return status;
}

int SqliteTableFile::indexNumber(const std::string& name) const
{
    const std::vector<IndexDescription>& indexes = description_.indexes;
    for (size_t i = 0; i < indexes.size(); ++i) {
        bool wanted = name.empty() ? indexes[i].primary : strcasecmp(indexes[i].name.c_str(), name.c_str()) == 0;
        if (wanted)
            return static_cast<int>(i);
    }
    return name.empty() && !indexes.empty() ? 0 : -1;
}

EngineStatus SqliteTableFile::keyOrder(int number, SqliteKeyOrder*& out)
{
    static const IndexDescription fileOrder;  // a table without indexes: rowid order
    const IndexDescription& index = number >= 0 ? description_.indexes[static_cast<size_t>(number)] : fileOrder;
    std::unique_ptr<SqliteKeyOrder>& slot = orders_[index.name + '\n' + index.fieldList()];
    if (!slot) {
        std::string problem = SqliteKeyOrder::check(description_, index);
        if (!problem.empty())
            return failure(EngineCode::NoSuchIndex, problem);
        slot = std::make_unique<SqliteKeyOrder>(db_, description_, index);
    }
    out = slot.get();
    return EngineStatus::success();
}

EngineStatus SqliteTableFile::prepare(std::unique_ptr<SqliteStatement>& slot, const std::string& sql)
{
    if (slot)
        return EngineStatus::success();
    auto statement = std::make_unique<SqliteStatement>();
    int rc = statement->prepare(db_, sql);
    if (rc != SQLITE_OK)
        return sqliteFailure(rc, "Cannot read the table.");
    slot = std::move(statement);
    return EngineStatus::success();
}

void SqliteTableFile::readRow(const SqliteStatement& statement, EngineRecord& out) const
{
    size_t count = description_.fields.size();
    out.values.resize(count);
    out.bookmark = statement.int64(0);
    for (size_t i = 0; i < count; ++i)
        statement.read(static_cast<int>(i) + 1, out.values[i]);
}

EngineStatus SqliteTableFile::readRecord(std::int64_t rowid, EngineRecord& out)
{
    // Its text is built only for the first read: a window is re-read by bookmark on every search.
    if (!readStatement_) {
        EngineStatus status =
            prepare(readStatement_, "SELECT " + columnList(description_) + " FROM records WHERE rid = ?");
        if (!status.ok())
            return status;
    }
    readStatement_->bindInt64(1, rowid);
    int rc = readStatement_->step();
    if (rc == SQLITE_ROW)
        readRow(*readStatement_, out);
    readStatement_->reset();
    if (rc == SQLITE_DONE)
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    if (rc != SQLITE_ROW)
        return sqliteFailure(rc, "Cannot read the record.");
    return EngineStatus::success();
}

EngineStatus SqliteTableFile::insertRow(const std::vector<FieldValue>& values, std::int64_t& rowid)
{
    EngineStatus status = prepare(insertStatement_, insertSql(description_));
    if (!status.ok())
        return status;
    for (size_t i = 0; i < values.size(); ++i)
        insertStatement_->bind(static_cast<int>(i) + 1, values[i]);
    int rc = insertStatement_->step();
    insertStatement_->reset();
    if ((rc & 0xFF) == SQLITE_CONSTRAINT)
        return failure(EngineCode::KeyViolation, "Key violation.",
                       {"A record with the same key already exists.", sqlite3_errmsg(db_)});
    if (rc != SQLITE_DONE)
        return sqliteFailure(rc, "Cannot store the record.");
    rowid = sqlite3_last_insert_rowid(db_);
    return EngineStatus::success();
}

EngineStatus SqliteTableFile::addHistory(const char* kind, const std::string& key, const std::string& oldKey,
                                         const std::vector<HistoryField>& fields, const char* what)
{
    int rc = history_->add(kind, key, oldKey, fields);
    return rc == SQLITE_OK ? EngineStatus::success() : sqliteFailure(rc, what);
}

EngineStatus SqliteTableFile::insert(const EngineRecord& record, std::int64_t& rowid, bool recorded)
{
    EngineStatus status = readyForWriting();
    if (!status.ok())
        return status;
    std::vector<FieldValue> values = storable(record);
    if (status = textFailure(values); !status.ok())
        return status;
    if (!recorded || !history_)
        return insertRow(values, rowid);
    SqliteTransaction transaction(db_);
    int rc = transaction.begin();
    if (rc != SQLITE_OK)
        return sqliteFailure(rc, "Cannot store the record.");
    status = insertRow(values, rowid);
    if (status.ok()) {
        std::string key = ChangeHistory::keyOf(description_, values);
        status = addHistory(ChangeHistory::added, key, key, ChangeHistory::addedFields(description_, values),
                            "Cannot store the record.");
    }
    if (status.ok() && (rc = transaction.commit()) != SQLITE_OK)
        status = sqliteFailure(rc, "Cannot store the record.");
    return status;
}

EngineStatus SqliteTableFile::update(std::int64_t rowid, const EngineRecord& expected, const EngineRecord& record)
{
    EngineStatus ready = readyForWriting();
    if (!ready.ok())
        return ready;
    SqliteTransaction transaction(db_);
    int rc = transaction.begin();
    if (rc != SQLITE_OK)
        return sqliteFailure(rc, "Cannot store the record.");
    EngineRecord current;
    EngineStatus status = readRecord(rowid, current);
    if (status.code == EngineCode::RecordNotFound)
        return failure(EngineCode::RecordDeleted, "Record was deleted by another user.");
    if (!status.ok())
        return status;
    if (current.values != expected.values)
        return failure(EngineCode::RecordChanged, "Record was changed by another user.");

    // Only the changed columns are written, so indexes on the others are
    // left alone and the commit writes fewer pages.
    std::vector<FieldValue> values = storable(record);
    std::string changed(values.size(), '0');
    std::vector<FieldValue> written(values.size());  // a value stored earlier by another tool stays editable around
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i] != current.values[i]) {
            changed[i] = '1';
            written[i] = values[i];
        }
    if (status = textFailure(written); !status.ok())
        return status;
    if (changed.find('1') == std::string::npos)
        return EngineStatus::success();
    std::unique_ptr<SqliteStatement>& update = updates_[changed];
    if (!update) {
        std::string assignments;
        for (size_t i = 0; i < values.size(); ++i)
            if (changed[i] == '1')
                assignments += (assignments.empty() ? "" : ", ") + quote(description_.fields[i].name) + " = ?";
        status = prepare(update, "UPDATE records SET " + assignments + " WHERE rid = ?");
        if (!status.ok())
            return status;
    }
    int parameter = 0;
    for (size_t i = 0; i < values.size(); ++i)
        if (changed[i] == '1')
            update->bind(++parameter, values[i]);
    update->bindInt64(parameter + 1, rowid);
    rc = update->step();
    update->reset();
    if ((rc & 0xFF) == SQLITE_CONSTRAINT)
        return failure(EngineCode::KeyViolation, "Key violation.",
                       {"A record with the same key already exists.", sqlite3_errmsg(db_)});
    if (rc != SQLITE_DONE)
        return sqliteFailure(rc, "Cannot store the record.");
    if (history_) {
        status =
            addHistory(ChangeHistory::changed, ChangeHistory::keyOf(description_, values),
                       ChangeHistory::keyOf(description_, current.values),
                       ChangeHistory::changedFields(description_, current.values, values), "Cannot store the record.");
        if (!status.ok())
            return status;
    }
    rc = transaction.commit();
    if (rc != SQLITE_OK)
        return sqliteFailure(rc, "Cannot store the record.");
    return EngineStatus::success();
}

EngineStatus SqliteTableFile::remove(std::int64_t rowid)
{
    EngineStatus status = readyForWriting();
    if (status.ok())
        status = prepare(deleteStatement_, "DELETE FROM records WHERE rid = ?");
    if (!status.ok())
        return status;
    SqliteTransaction transaction(db_);
    EngineRecord gone;
    if (history_) {
        // The record is read in the transaction that deletes it, so its entry holds what was deleted.
        int rc = transaction.begin();
        if (rc != SQLITE_OK)
            return sqliteFailure(rc, "Cannot delete the record.");
        status = readRecord(rowid, gone);
        if (status.code == EngineCode::RecordNotFound)
            return EngineStatus::failure(EngineCode::RecordGone, "Record was deleted by another user.");
        if (!status.ok())
            return status;
    }
    deleteStatement_->bindInt64(1, rowid);
    int rc = deleteStatement_->step();
    deleteStatement_->reset();
    if (rc != SQLITE_DONE)
        return sqliteFailure(rc, "Cannot delete the record.");
    if (sqlite3_changes(db_) == 0)
        return EngineStatus::failure(EngineCode::RecordGone, "Record was deleted by another user.");
    if (!history_)
        return EngineStatus::success();
    std::string key = ChangeHistory::keyOf(description_, gone.values);
    status = addHistory(ChangeHistory::deleted, key, key, ChangeHistory::deletedFields(description_, gone.values),
                        "Cannot delete the record.");
    if (status.ok() && (rc = transaction.commit()) != SQLITE_OK)
        status = sqliteFailure(rc, "Cannot delete the record.");
    return status;
}

EngineStatus SqliteTableFile::readHistory(const HistoryQuery& query, std::vector<HistoryRow>& out)
{
    out.clear();
    if (!history_)
        return EngineStatus::success();
    int rc = history_->read(query, out);
    return rc == SQLITE_OK ? EngineStatus::success() : sqliteFailure(rc, "Cannot read the change history.");
}

EngineStatus SqliteTableFile::count(std::int64_t& out)
{
    EngineStatus status = prepare(countStatement_, "SELECT count(*) FROM records");
    if (!status.ok())
        return status;
    int rc = countStatement_->step();
    out = rc == SQLITE_ROW ? countStatement_->int64(0) : 0;
    countStatement_->reset();
    if (rc != SQLITE_ROW)
        return sqliteFailure(rc, "Cannot count the records.");
    return EngineStatus::success();
}

EngineStatus SqliteTableFile::changeStamp(std::uint64_t& out)
{
    // Asking for other connections' commits starts a read transaction, which
    // costs as much as reading a record; lookups ask for every record read,
    // so even the clock is the cheap coarse one (a few milliseconds fine).
    timespec coarse{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &coarse);
    auto now = std::chrono::steady_clock::time_point(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::seconds(coarse.tv_sec) + std::chrono::nanoseconds(coarse.tv_nsec)));
    if (now - versionCheckedAt_ >= versionInterval) {
        EngineStatus status = prepare(versionStatement_, "PRAGMA data_version");
        if (!status.ok())
            return status;
        int rc = versionStatement_->step();
        std::uint64_t version = rc == SQLITE_ROW ? static_cast<std::uint64_t>(versionStatement_->int64(0)) : 0;
        versionStatement_->reset();
        if (rc != SQLITE_ROW)
            return sqliteFailure(rc, "Cannot read the data version.");
        dataVersion_ = version;
        versionCheckedAt_ = now;
    }
    std::uint64_t own = static_cast<std::uint64_t>(sqlite3_total_changes64(db_));
    out = (dataVersion_ << 40) ^ own;
    return EngineStatus::success();
}

SqliteStatement* SqliteTableFile::filterStatement(const std::vector<int>& columns, const SqliteKeyOrder& order,
                                                  EngineStatus& status)
{
    std::string where;
    for (size_t i = 0; i < columns.size(); ++i)
        where += (i ? " AND " : "") + quote(description_.fields[static_cast<size_t>(columns[i])].name) + " IS ?";
    std::string sql = order.sql(SqliteKeyOrder::Op::First, 0);
    size_t orderBy = sql.find(" ORDER BY ");
    if (!where.empty())
        sql.insert(orderBy, " WHERE " + where);
    return cachedStatement(sql, status);
}

SqliteStatement* SqliteTableFile::cachedStatement(const std::string& sql, EngineStatus& status)
{
    std::unique_ptr<SqliteStatement>& slot = filters_[sql];
    status = prepare(slot, sql);
    if (!status.ok())
        filters_.erase(sql);
    return status.ok() ? slot.get() : nullptr;
}

EngineStatus SqliteTableFile::create(const std::string& path, const TableDescription& description, mode_t mode,
                                     gid_t group)
{
    std::vector<std::string> detail = {"Table: " + description.tableName, "File: " + path};
    auto fail = [&](EngineCode code, const std::string& message, const std::string& why) {
        std::vector<std::string> stack = {why};
        stack.insert(stack.end(), detail.begin(), detail.end());
        return EngineStatus::failure(code, message, stack);
    };
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return fail(EngineCode::IoError, "The table file already exists.", "It is left as it is.");

    // Build it under another name and link it into place: link never
    // replaces an existing file, and a half-built file never has the name.
    std::string building = path + ".building";
    ::unlink(building.c_str());
    // Made with its modes before anything is in it; SQLite keeps them and
    // gives the side files the same.
    int fd = ::open(building.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail(EngineCode::IoError, "Cannot create the table file.", std::strerror(errno));
    bool moded = ::fchown(fd, static_cast<uid_t>(-1), group) == 0 && ::fchmod(fd, mode) == 0;
    int modeError = errno;
    ::close(fd);
    if (!moded) {
        ::unlink(building.c_str());
        return fail(EngineCode::IoError, "Cannot set the modes of the table file.", std::strerror(modeError));
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(building.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::string sql = "PRAGMA journal_mode = WAL; BEGIN;"
                      "CREATE TABLE table_columns (position INTEGER PRIMARY KEY, name TEXT NOT NULL, "
                      "type TEXT NOT NULL, size INTEGER NOT NULL, default_value TEXT);"
                      "CREATE TABLE table_indexes (position INTEGER PRIMARY KEY, name TEXT NOT NULL, "
                      "fields TEXT NOT NULL, is_primary INTEGER NOT NULL, is_unique INTEGER NOT NULL, "
                      "is_descending INTEGER NOT NULL, is_case_insensitive INTEGER NOT NULL, expression TEXT);";
    std::string columns = "rid INTEGER PRIMARY KEY AUTOINCREMENT";
    for (size_t i = 0; i < description.fields.size(); ++i) {
        const FieldDescription& field = description.fields[i];
        std::string literal = sqlLiteral(field.defaultValue);
        char* text = sqlite3_mprintf("INSERT INTO table_columns VALUES (%d, %Q, %Q, %d, %s);", static_cast<int>(i),
                                     field.name.c_str(), typeName(field.type), field.size,
                                     field.hasDefault ? literal.c_str() : "NULL");
        sql += text;
        sqlite3_free(text);
        columns += ", " + quote(field.name);
        if (field.type == ColumnType::Text)
            columns += " TEXT NOT NULL DEFAULT " + (field.hasDefault ? literal : std::string("''"));
        else
            columns += " TEXT";
    }
    sql += "CREATE TABLE records (" + columns + ");";

    const IndexDescription* primary = nullptr;
    for (const IndexDescription& index : description.indexes)
        if (index.primary)
            primary = &index;
    for (size_t i = 0; i < description.indexes.size(); ++i) {
        const IndexDescription& index = description.indexes[i];
        std::string problem = SqliteKeyOrder::check(description, index);
        if (!problem.empty()) {
            sqlite3_close(db);
            ::unlink(building.c_str());
            return fail(EngineCode::InvalidKey, "Cannot create the table file.", problem);
        }
        char* text = sqlite3_mprintf("INSERT INTO table_indexes VALUES (%d, %Q, %Q, %d, %d, 0, %d, NULL);",
                                     static_cast<int>(i), index.name.c_str(), index.fieldList().c_str(),
                                     index.primary ? 1 : 0, index.unique ? 1 : 0, index.caseInsensitive ? 1 : 0);
        sql += text;
        sqlite3_free(text);
        // The same columns as the cursor's key tuple (SqliteKeyOrder).
        std::string keyColumns;
        std::vector<std::string> used;
        auto add = [&](const std::string& field, bool folds) {
            for (const std::string& seen : used)
                if (strcasecmp(seen.c_str(), field.c_str()) == 0)
                    return;
            used.push_back(field);
            keyColumns += (keyColumns.empty() ? "" : ", ") + quote(field) + (folds ? " COLLATE NOCASE" : "");
        };
        for (const std::string& field : index.fields)
            add(field, index.caseInsensitive);
        if (primary && !index.unique && !index.primary)
            for (const std::string& field : primary->fields)
                add(field, primary->caseInsensitive);
        sql += std::string("CREATE ") + (index.unique || index.primary ? "UNIQUE " : "") + "INDEX " +
               quote("index_" + index.name) + " ON records (" + keyColumns + ");";
    }
    sql += "PRAGMA user_version = " + std::to_string(std::max(1, description.version)) + "; COMMIT;";
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    std::string native = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    int closed = sqlite3_close(db);
    if (rc != SQLITE_OK || closed != SQLITE_OK) {
        ::unlink(building.c_str());
        return fail(EngineCode::IoError, "Cannot create the table file.", native);
    }
    if (::link(building.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(building.c_str());
        if (error == EEXIST)
            return fail(EngineCode::IoError, "The table file already exists.", "It is left as it is.");
        return fail(EngineCode::IoError, "Cannot create the table file.", std::strerror(error));
    }
    ::unlink(building.c_str());
    return EngineStatus::success();
}
