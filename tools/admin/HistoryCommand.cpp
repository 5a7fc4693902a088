#include "HistoryCommand.h"

#include "AliasDatabase.h"
#include "ChangeHistory.h"
#include "CsvWriter.h"
#include "EDBEngineError.h"
#include "EngineDatabase.h"
#include "ReplacingFile.h"
#include "TDMarsipstaf.h"
#include "TableArgument.h"

#include <cctype>
#include <cerrno>

namespace {

bool isDate(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

std::vector<std::string> fieldsOf(const HistoryRow& row)
{
    return {row.time,
            row.account,
            row.tableName,
            row.key,
            row.oldKey,
            row.kind,
            row.field,
            row.oldValue.value_or(std::string()),
            row.newValue.value_or(std::string())};
}

}  // namespace

bool HistoryCommand::parse(const std::vector<std::string>& args, Options& out)
{
    std::vector<std::string> plain;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--since" && i + 1 < args.size() && out.since.empty() && isDate(args[i + 1]))
            out.since = args[++i];
        else if (args[i] == "--csv" && i + 1 < args.size() && out.csv.empty() && !args[i + 1].empty())
            out.csv = args[++i];
        else if (args[i].rfind("--", 0) == 0)
            return false;
        else
            plain.push_back(args[i]);
    }
    if (plain.size() > 2)
        return false;
    if (!plain.empty())
        out.table = plain[0];
    if (plain.size() == 2)
        out.key = plain[1];
    return true;
}

bool HistoryCommand::read(const std::string& tableName, const HistoryQuery& query, std::vector<HistoryRow>& out,
                          std::ostream& err)
{
    std::unique_ptr<EngineDatabase> database;
    if (!AliasDatabase::open(database, err))
        return false;
    std::unique_ptr<EngineCursor> cursor;
    EngineStatus status = database->openTable(tableName, "", cursor);
    if (status.ok())
        status = cursor->readHistory(query, out);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return false;
    }
    return true;
}

bool HistoryCommand::writeCsv(const std::string& path, const std::vector<HistoryRow>& rows, std::ostream& err)
{
    ReplacingFile file(path, 0600);
    CsvWriter csv(file.stream());
    bool written = file.ok() && csv.writeRecord({"time", "account", "table", "key", "old_key", "kind", "field",
                                                 "old_value", "new_value"});
    for (size_t i = 0; written && i < rows.size(); ++i)
        written = csv.writeRecord(fieldsOf(rows[i]));
    if (file.ok() && !written)
        file.failed(errno);
    if (!file.commit()) {
        err << file.error() << '\n';
        return false;
    }
    return true;
}

int HistoryCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    TDMarsipstaf module;
    std::vector<std::string> tables;
    if (!options.table.empty()) {
        TTable* table = TableArgument::find(module, options.table, err);
        if (!table)
            return 2;
        if (!ChangeHistory::kept(table->TableName)) {
            err << "history: " << table->TableName << " keeps no change history\n";
            return 2;
        }
        tables.push_back(table->TableName);
    } else {
        for (TTable* table : module.Tables())
            if (ChangeHistory::kept(table->TableName))
                tables.push_back(table->TableName);
    }
    std::vector<HistoryRow> rows;
    for (const std::string& table : tables) {
        std::vector<HistoryRow> some;
        if (!read(table, HistoryQuery{options.key, options.since}, some, err))
            return 1;
        rows.insert(rows.end(), some.begin(), some.end());
    }
    if (!options.csv.empty()) {
        if (!writeCsv(options.csv, rows, err))
            return 1;
        out << rows.size() << " history rows written to " << options.csv << '\n';
        return 0;
    }
    for (const HistoryRow& row : rows) {
        std::vector<std::string> fields = fieldsOf(row);
        for (size_t i = 0; i < fields.size(); ++i)
            out << (i ? "\t" : "") << fields[i];
        out << '\n';
    }
    return 0;
}
