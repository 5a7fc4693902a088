#pragma once
#include <ostream>
#include <string>

// export TABLE FILE: writes a table of the database behind rekam_induk to
// FILE in the order of its primary index: CSV for a name ending ".csv",
// a spreadsheet workbook for ".xlsx". A record table gets its declared
// fields, codes and their texts both; a code table its columns. Values are
// the stored ones, so the file imports back unchanged. With history, the
// table's change history goes to FILE.history.csv beside it (historyPath).
class ExportCommand {
public:
    static int run(const std::string& table, const std::string& path, bool history, std::ostream& out,
                   std::ostream& err);
    // "x/pegawai.xlsx" -> "x/pegawai.history.csv".
    static std::string historyPath(const std::string& path);
};
