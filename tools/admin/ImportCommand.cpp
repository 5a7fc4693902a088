#include "ImportCommand.h"

#include "AliasDatabase.h"
#include "CsvReader.h"
#include "EDBEngineError.h"
#include "ExportLayout.h"
#include "ImportRowCheck.h"
#include "SqliteTableFile.h"
#include "SqliteTransaction.h"
#include "TDMarsipstaf.h"
#include "TableArgument.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string joined(const std::vector<std::string>& items, const char* separator)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : separator) + item;
    return text;
}

// Stores checked records: a new key is inserted; a stored key is refused,
// or with update its record replaced.
class RecordWriter {
public:
    RecordWriter(SqliteTableFile& file, const std::vector<int>& keys, bool update)
        : file_(file), keys_(keys), update_(update)
    {
    }

    int prepare()
    {
        const TableDescription& description = file_.description();
        std::string where, set;
        for (size_t i = 0; i < keys_.size(); ++i)
            where += std::string(i ? " AND " : "") +
                     SqliteTableFile::quote(description.fields[static_cast<size_t>(keys_[i])].name) + " = ?";
        for (size_t i = 0; i < description.fields.size(); ++i)
            set += std::string(i ? ", " : "") + SqliteTableFile::quote(description.fields[i].name) + " = ?";
        int rc = find_.prepare(file_.handle(), "SELECT rid FROM records WHERE " + where);
        if (rc == SQLITE_OK)
            rc = modify_.prepare(file_.handle(), "UPDATE records SET " + set + " WHERE rid = ?");
        return rc;
    }

    // Empty when stored; the reason otherwise.
    std::string store(const EngineRecord& record, bool& updated)
    {
        updated = false;
        std::vector<FieldValue> values = file_.storable(record);
        if (update_ && !keys_.empty()) {
            for (size_t i = 0; i < keys_.size(); ++i)
                find_.bind(static_cast<int>(i) + 1, values[static_cast<size_t>(keys_[i])]);
            int rc = find_.step();
            std::int64_t rowid = rc == SQLITE_ROW ? find_.int64(0) : 0;
            find_.reset();
            if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                return sqlite3_errmsg(file_.handle());
            if (rowid) {
                for (size_t i = 0; i < values.size(); ++i)
                    modify_.bind(static_cast<int>(i) + 1, values[i]);
                modify_.bindInt64(static_cast<int>(values.size()) + 1, rowid);
                rc = modify_.step();
                modify_.reset();
                if (rc != SQLITE_DONE)
                    return sqlite3_errmsg(file_.handle());
                updated = true;
                return std::string();
            }
        }
        std::int64_t rowid = 0;
        EngineStatus status = file_.insert(record, rowid);
        if (status.code == EngineCode::KeyViolation) {
            std::string key;
            for (int column : keys_)
                key += (key.empty() ? "" : ", ") + file_.description().fields[static_cast<size_t>(column)].name + " " +
                       values[static_cast<size_t>(column)].value_or(std::string());
            return "Key violation: a record with " + key + " is already stored";
        }
        return status.ok() ? std::string() : EDBEngineError::describe(status);
    }

private:
    SqliteTableFile& file_;
    const std::vector<int>& keys_;
    bool update_;
    SqliteStatement find_, modify_;
};

}  // namespace

int ImportCommand::run(const std::string& tableText, const std::string& path, Options options, std::ostream& out,
                       std::ostream& err)
{
    TDMarsipstaf module;
    TTable* table = TableArgument::find(module, tableText, err);
    if (!table)
        return 2;
    std::unique_ptr<std::FILE, FileCloser> input(std::fopen(path.c_str(), "rb"));
    if (!input) {
        err << "Cannot read " << path << ": " << std::strerror(errno) << '\n';
        return 1;
    }
    std::unique_ptr<EngineDatabase> database;
    std::shared_ptr<SqliteTableFile> file;
    if (!TableArgument::openFile(*table, database, file, err))
        return 1;
    std::vector<ExportColumn> columns;
    std::string error;
    ImportRowCheck checker;
    if (!ExportLayout::forTable(*table, file->description(), {}, columns, error) ||
        !checker.prepare(*table, file->description(), columns, database->directory(), error)) {
        err << table->Name() << ": " << error << '\n';
        return 1;
    }

    CsvReader reader(input.get());
    std::vector<std::string> row, header;
    for (const ExportColumn& column : columns)
        header.push_back(column.name);
    CsvReader::Result read = reader.next(row);
    if (read != CsvReader::Result::Record || row != header) {
        err << path << " line 1: the header must be " << joined(header, ",") << '\n';
        return 1;
    }

    // One large transaction: a bigger page cache keeps the index pages it
    // touches from spilling to the log before the commit (bounded: 32 MB).
    sqlite3_exec(file->handle(), "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    SqliteTransaction transaction(file->handle());
    RecordWriter writer(*file, checker.keyColumns(), options.update);
    int rc = transaction.begin();
    if (rc == SQLITE_OK)
        rc = writer.prepare();
    if (rc != SQLITE_OK) {
        err << EDBEngineError::describe(file->sqliteFailure(rc, "Cannot store the records.")) << '\n';
        return 1;
    }
    long long added = 0, updated = 0, refused = 0;
    EngineRecord record;
    while ((read = reader.next(row)) == CsvReader::Result::Record) {
        std::vector<std::string> reasons;
        if (row.size() != header.size()) {
            reasons.push_back("has " + std::to_string(row.size()) + " fields, the header " +
                              std::to_string(header.size()));
        } else {
            std::string undecodable = options.encoding.decode(row, header);
            reasons = undecodable.empty() ? checker.check(row, record) : std::vector<std::string>{undecodable};
            if (reasons.empty()) {
                bool replaced = false;
                std::string reason = writer.store(record, replaced);
                if (!reason.empty())
                    reasons.push_back(reason);
                else
                    ++(replaced ? updated : added);
            }
        }
        if (!reasons.empty()) {
            ++refused;
            out << "line " << reader.line() << ": " << joined(reasons, "; ") << '\n';
        }
    }
    if (read == CsvReader::Result::Error) {
        err << path << " line " << reader.line() << ": " << reader.error() << "; nothing stored\n";
        return 1;
    }
    if (refused) {
        out << refused << (refused == 1 ? " row" : " rows") << " refused; nothing stored.\n";
        return 1;
    }
    if (options.dryRun) {
        out << table->TableName << ": every row passes; " << added << " records would be added, " << updated
            << " replaced (dry run, nothing stored).\n";
        return 0;
    }
    if ((rc = transaction.commit()) != SQLITE_OK) {
        err << EDBEngineError::describe(file->sqliteFailure(rc, "Cannot store the records.")) << '\n';
        return 1;
    }
    out << table->TableName << ": " << added << " records added, " << updated << " replaced.\n";
    return 0;
}
