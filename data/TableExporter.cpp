#include "TableExporter.h"

#include "CodeTexts.h"
#include "EDBEngineError.h"
#include "EditMask.h"
#include "EngineSnapshot.h"

#include <map>
#include <memory>

namespace {

std::string describe(const EngineStatus& status)
{
    return EDBEngineError::describe(status);
}

// The code texts of every lookup column, each code table read once; one
// entry per column, null for a data column.
bool readLookups(EngineSnapshot& snapshot, const std::vector<ExportColumn>& columns,
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
            EngineStatus status = CodeTexts::read(snapshot, column.lookupTable, column.lookupKey, column.lookupResult,
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

}  // namespace

TableExporter::Result TableExporter::run(EngineSnapshot& snapshot, const std::string& tableName,
                                         const std::string& indexName, const std::vector<ExportColumn>& columns,
                                         ExportSink& sink, const Progress& progress)
{
    Result result;
    std::map<std::string, CodeTexts::Map> codes;
    std::vector<const CodeTexts::Map*> lookups;
    if (!readLookups(snapshot, columns, codes, lookups, result.error))
        return result;
    std::vector<EditMask> masks;
    for (const ExportColumn& column : columns) {
        // Dates are written as dates, not through their entry mask.
        masks.emplace_back(column.isLookup() || column.type == ColumnType::Date ? std::string() : column.editMask);
    }
    std::int64_t total = 0;
    EngineStatus status = snapshot.count(tableName, total);
    if (!status.ok()) {
        result.error = describe(status);
        return result;
    }
    if (!sink.header(columns)) {
        result.error = sink.error();
        return result;
    }
    // A stop asked by the sink or the progress: no engine failure.
    const EngineStatus stopped = EngineStatus::failure(EngineCode::Internal, "stopped");
    std::vector<FieldValue> row(columns.size());
    status = snapshot.scan(tableName, indexName, [&](const EngineRecord& record) {
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
            return stopped;
        }
        ++result.records;
        if (progress && result.records % progressStep == 0 && !progress(result.records, total)) {
            result.cancelled = true;
            return stopped;
        }
        return EngineStatus::success();
    });
    if (!status.ok()) {
        if (result.error.empty() && !result.cancelled)
            result.error = describe(status);
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
