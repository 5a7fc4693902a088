#pragma once
#include "ExportColumn.h"
#include "ExportSink.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class EngineSnapshot;

// Writes the records of one table to a sink: a header of the column names,
// then one row per record in the order of an index. Reads from a snapshot,
// one record at a time, so memory does not grow with the table and the
// program's cursors stay where they are; the records are those of one
// moment.
class TableExporter {
public:
    // Asked every few thousand records and at the end; false cancels.
    using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

    struct Result {
        bool ok = false;
        bool cancelled = false;
        std::int64_t records = 0;
        std::string error;  // when neither ok nor cancelled
    };

    // tableName in the order of indexName (empty: the primary index).
    // Lookup columns read their texts from the code tables of the same
    // snapshot. The sink is finished only when every record is written.
    static Result run(EngineSnapshot& snapshot, const std::string& tableName, const std::string& indexName,
                      const std::vector<ExportColumn>& columns, ExportSink& sink, const Progress& progress = {});

    static constexpr std::int64_t progressStep = 4096;
};
