#include "ExportCommand.h"

#include "AliasDatabase.h"
#include "ChangeHistory.h"
#include "CsvExportSink.h"
#include "EDBEngineError.h"
#include "EngineDatabase.h"
#include "ExportLayout.h"
#include "HistoryCommand.h"
#include "TDMarsipstaf.h"
#include "TableArgument.h"
#include "TableExporter.h"
#include "XlsxExport.h"

#include <algorithm>
#include <memory>

namespace {

bool endsWith(std::string text, const std::string& suffix)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::string ExportCommand::historyPath(const std::string& path)
{
    size_t dot = path.rfind('.');
    return path.substr(0, dot) + ".history.csv";
}

int ExportCommand::run(const std::string& tableText, const std::string& path, bool history, std::ostream& out,
                       std::ostream& err)
{
    bool csv = endsWith(path, ".csv"), xlsx = endsWith(path, ".xlsx");
    if (!csv && !xlsx) {
        err << "export: FILE must end with .csv or .xlsx\n";
        return 2;
    }
    TDMarsipstaf module;
    TTable* table = TableArgument::find(module, tableText, err);
    if (!table)
        return 2;
    if (history && !ChangeHistory::kept(table->TableName)) {
        err << "export: " << table->TableName << " keeps no change history\n";
        return 2;
    }
    std::unique_ptr<EngineDatabase> database;
    std::unique_ptr<EngineSnapshot> snapshot;
    TableDescription description;
    if (!TableArgument::openSnapshot(*table, database, snapshot, description, err))
        return 1;
    std::vector<ExportColumn> columns;
    std::string error;
    if (!ExportLayout::forTable(*table, description, {}, columns, error)) {
        err << table->Name() << ": " << error << '\n';
        return 1;
    }
    // Stored values, not display texts: the file is for importing too.
    for (ExportColumn& column : columns)
        column.editMask.clear();
    std::unique_ptr<ExportSink> sink;
    if (csv)
        sink = std::make_unique<CsvExportSink>(path, RegionalSettings::current());
    else
        sink = XlsxExport::open(path, RegionalSettings::current());
    TableExporter::Result result = TableExporter::run(*snapshot, table->TableName, "", columns, *sink);
    if (!result.ok) {
        err << result.error << '\n';
        return 1;
    }
    out << table->TableName << ": " << result.records << " records written to " << path << '\n';
    if (!history)
        return 0;
    std::vector<HistoryRow> rows;
    std::string historyFile = historyPath(path);
    if (!HistoryCommand::read(table->TableName, HistoryQuery{}, rows, err) ||
        !HistoryCommand::writeCsv(historyFile, rows, err))
        return 1;
    out << table->TableName << ": " << rows.size() << " history rows written to " << historyFile << '\n';
    return 0;
}
