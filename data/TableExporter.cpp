#include "TableExporter.h"

#include "CodeTexts.h"
#include "EDBEngineError.h"
#include "EditMask.h"
#include "SqliteKeyOrder.h"
#include "SqliteTableFile.h"

#include <map>
#include <memory>

namespace {

std::string describe(const EngineStatus& status)
{
    return EDBEngineError::describe(status);
}

// The code texts of every lookup column, each code table read once; one
// entry per column, null for a data column.
bool readLookups(const std::string& directory, const std::vector<ExportColumn>& columns,
                 std::map<std::string, CodeTexts::Map>& codes, std::vector<const CodeTexts::Map*>& lookups,
                 std::string& error)
{
    for (const ExportColumn& column : columns) {
        if (!column.isLookup()) {
            lookups.push_back(nullptr);
            continue;
        }
        const std::string key = column.lookupTable + "\n" + column.lookupKey + "\n" + column.lookupResult + "\n" +
                                std::to_string(column.size);
        auto found = codes.find(key);
        if (found == codes.end()) {
            found = codes.emplace(key, CodeTexts::Map()).first;
            EngineStatus status = CodeTexts::read(directory, column.lookupTable, column.lookupKey, column.lookupResult,
                                                  column.size, found->second);
            if (!status.ok()) {
                error = describe(status);
                return false;
            }
        }
        lookups.push_back(&found->second);
    }
    return true;
}

// A read transaction that ends with the object.
class ReadTransaction {
public:
    explicit ReadTransaction(sqlite3* db) : db_(db)
    {
        ok_ = sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~ReadTransaction()
    {
        if (ok_)
            sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    sqlite3* db_;
    bool ok_ = false;
};

}  // namespace

TableExporter::Result TableExporter::run(const std::string& directory, const std::string& tableName,
                                         const std::string& indexName, const std::vector<ExportColumn>& columns,
                                         ExportSink& sink, const Progress& progress)
{
    Result result;
    std::map<std::string, CodeTexts::Map> codes;
    std::vector<const CodeTexts::Map*> lookups;
    if (!readLookups(directory, columns, codes, lookups, result.error))
        return result;
    std::vector<EditMask> masks;
    for (const ExportColumn& column : columns) {
        // Dates are written as dates, not through their entry mask.
        masks.emplace_back(column.isLookup() || column.type == ColumnType::Date ? std::string() : column.editMask);
    }

    std::shared_ptr<SqliteTableFile> file;
    EngineStatus status = SqliteTableFile::open(directory, tableName, file);
    SqliteKeyOrder* order = nullptr;
    if (status.ok()) {
        int number = file->indexNumber(indexName);
        status = number < 0 ? file->failure(EngineCode::NoSuchIndex, "Index does not exist.", {"Index: " + indexName})
                            : file->keyOrder(number, order);
    }
    if (!status.ok()) {
        result.error = describe(status);
        return result;
    }
    ReadTransaction snapshot(file->handle());
    std::int64_t total = 0;
    if (!(status = file->count(total)).ok()) {
        result.error = describe(status);
        return result;
    }
    SqliteStatement scan;
    int rc = scan.prepare(file->handle(), order->scanSql("", ""));
    if (rc != SQLITE_OK) {
        result.error = describe(file->sqliteFailure(rc, "Cannot read the table."));
        return result;
    }
    if (!sink.header(columns)) {
        result.error = sink.error();
        return result;
    }
    EngineRecord record;
    std::vector<FieldValue> row(columns.size());
    while ((rc = scan.step()) == SQLITE_ROW) {
        file->readRow(scan, record);
        for (size_t i = 0; i < columns.size(); ++i) {
            const FieldValue& value = record.values[static_cast<size_t>(columns[i].column)];
            if (lookups[i]) {
                auto found = value ? lookups[i]->find(*value) : lookups[i]->end();
                row[i] = found == lookups[i]->end() ? FieldValue() : FieldValue(found->second);
            } else if (!masks[i].empty() && value && !value->empty()) {
                // As displayed; an empty value stays empty, not the mask's blanks.
                row[i] = masks[i].displayText(*value);
            } else {
                row[i] = value;
            }
        }
        if (!sink.row(row)) {
            result.error = sink.error();
            return result;
        }
        ++result.records;
        if (progress && result.records % progressStep == 0 && !progress(result.records, total)) {
            result.cancelled = true;
            return result;
        }
    }
    if (rc != SQLITE_DONE) {
        result.error = describe(file->sqliteFailure(rc, "Cannot read the table."));
        return result;
    }
    if (progress && !progress(result.records, total)) {
        result.cancelled = true;
        return result;
    }
    if (!sink.finish()) {
        result.error = sink.error();
        return result;
    }
    result.ok = true;
    return result;
}
