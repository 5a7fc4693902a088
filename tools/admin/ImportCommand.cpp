#include "ImportCommand.h"

#include "AliasDatabase.h"
#include "CsvReader.h"
#include "EDBEngineError.h"
#include "EngineDatabase.h"
#include "ExportLayout.h"
#include "ImportRowCheck.h"
#include "TDMarsipstaf.h"
#include "TableArgument.h"
#include "TableFiles.h"

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
    RecordWriter(TableWriter& writer, const std::vector<int>& keys, bool update)
        : writer_(writer), keys_(keys), update_(update)
    {
    }

    // Empty when stored; the reason otherwise.
    std::string store(const EngineRecord& record, bool& updated)
    {
        updated = false;
        if (update_ && !keys_.empty()) {
            EngineStatus status = writer_.replace(keys_, record);
            if (status.ok()) {
                updated = true;
                return std::string();
            }
            if (status.code != EngineCode::RecordNotFound)
                return EDBEngineError::describe(status);
        }
        EngineStatus status = writer_.insert(record);
        if (status.code == EngineCode::KeyViolation) {
            const TableDescription& description = writer_.description();
            std::string key;
            for (int column : keys_) {
                const FieldValue& value = record.values[static_cast<size_t>(column)];
                key += (key.empty() ? "" : ", ") + description.fields[static_cast<size_t>(column)].name + " " +
                       TableFiles::cutToSize(value.value_or(std::string()),
                                             description.fields[static_cast<size_t>(column)].size);
            }
            return "Key violation: a record with " + key + " is already stored";
        }
        return status.ok() ? std::string() : EDBEngineError::describe(status);
    }

private:
    TableWriter& writer_;
    const std::vector<int>& keys_;
    bool update_;
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
    std::unique_ptr<EngineSnapshot> snapshot;
    TableDescription description;
    if (!TableArgument::openSnapshot(*table, database, snapshot, description, err))
        return 1;
    std::vector<ExportColumn> columns;
    std::string error;
    ImportRowCheck checker;
    if (!ExportLayout::forTable(*table, description, {}, columns, error) ||
        !checker.prepare(*table, description, columns, *snapshot, error)) {
        err << table->Name() << ": " << error << '\n';
        return 1;
    }
    snapshot.reset();

    CsvReader reader(input.get());
    std::vector<std::string> row, header;
    for (const ExportColumn& column : columns)
        header.push_back(column.name);
    CsvReader::Result read = reader.next(row);
    if (read != CsvReader::Result::Record || row != header) {
        err << path << " line 1: the header must be " << joined(header, ",") << '\n';
        return 1;
    }

    // All or nothing: one transaction, committed only when every row passed.
    std::unique_ptr<TableWriter> transaction;
    EngineStatus status = database->openWriter(table->TableName, transaction);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    RecordWriter writer(*transaction, checker.keyColumns(), options.update);
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
    if (!(status = transaction->commit()).ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    out << table->TableName << ": " << added << " records added, " << updated << " replaced.\n";
    return 0;
}
