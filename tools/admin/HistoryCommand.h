#pragma once
#include "HistoryQuery.h"
#include "HistoryRow.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// history [TABLE] [KEY] [--since DATE] [--csv FILE]: the change history of
// the record tables behind rekam_induk (both when no TABLE is named), of one
// record when KEY is given, from DATE (YYYY-MM-DD, UTC) on; newest entry
// first. Printed one row per changed field, tab-separated, or written to
// FILE as CSV (whole or not at all).
class HistoryCommand {
public:
    struct Options {
        std::string table;  // empty: every table that keeps a history
        std::optional<std::string> key;
        std::string since;
        std::string csv;
    };
    // Reads the arguments after "history"; false when they do not fit.
    static bool parse(const std::vector<std::string>& args, Options& out);
    static int run(const Options& options, std::ostream& out, std::ostream& err);

    // The history of tableName behind the alias; false with the message on err.
    static bool read(const std::string& tableName, const HistoryQuery& query, std::vector<HistoryRow>& out,
                     std::ostream& err);
    // Writes rows to path as CSV, with a header line; false with the message on err.
    static bool writeCsv(const std::string& path, const std::vector<HistoryRow>& rows, std::ostream& err);
};
