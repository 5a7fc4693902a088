#include "CheckCommand.h"

#include "AliasDatabase.h"
#include "DataDirectoryModes.h"
#include "EDBEngineError.h"
#include "EngineConfig.h"
#include "SchemaUpgrade.h"
#include "SqliteCursor.h"
#include "SqliteDatabase.h"
#include "StorageEngine.h"
#include "StoredValueCheck.h"
#include "TDMarsipstaf.h"
#include "TableCatalogue.h"
#include "TableFileAccess.h"
#include "UnchangedOnOpen.h"

#include <algorithm>
#include <map>
#include <strings.h>

namespace {

// The ordering choice the record windows make, found as the dataset finds it.
bool hasIndexFor(const TableDescription& table, const std::string& fields)
{
    for (const IndexDescription& index : table.indexes) {
        if (index.descending || index.expression)
            continue;
        std::string list = index.fieldList();
        if (strcasecmp(list.c_str(), fields.c_str()) == 0 ||
            (list.size() > fields.size() && strncasecmp(list.c_str(), fields.c_str(), fields.size()) == 0 &&
             list[fields.size()] == ';'))
            return true;
    }
    return false;
}

std::vector<std::string> columnProblems(const TableDescription& actual, const TableDescription& wanted,
                                        const std::string& object)
{
    std::vector<std::string> problems;
    for (const FieldDescription& field : wanted.fields) {
        int number = actual.fieldNumber(field.name);
        if (number < 0) {
            problems.push_back(object + ": Field '" + field.name + "' not found");
            continue;
        }
        const FieldDescription& column = actual.fields[static_cast<size_t>(number)];
        if (column.typeName != field.typeName)
            problems.push_back(object + ": Type mismatch for field '" + field.name + "', expecting: " + field.typeName +
                               " actual: " + column.typeName);
        else if (field.type == ColumnType::Text && column.size > 0 && column.size < field.size)
            problems.push_back(object + ": Field '" + field.name + "' holds " + std::to_string(column.size) +
                               " characters, the program writes " + std::to_string(field.size));
    }
    return problems;
}

std::string integrity(EngineCursor& cursor)
{
    auto* sqlite = dynamic_cast<SqliteCursor*>(&cursor);
    if (!sqlite)
        return "ok";
    SqliteStatement check;
    if (check.prepare(sqlite->tableFile().handle(), "PRAGMA quick_check") != SQLITE_OK)
        return sqlite3_errmsg(sqlite->tableFile().handle());
    std::string result;
    int rc;
    while ((rc = check.step()) == SQLITE_ROW)
        result += (result.empty() ? "" : "; ") + check.text(0);
    if (rc != SQLITE_DONE)
        return sqlite3_errmsg(sqlite->tableFile().handle());
    return result;
}

// Loading the data module as start-up does: the first failure, in the
// program's own words, or nothing.
std::string loadDataModule()
{
    try {
        TDMarsipstaf module;
        module.Loaded();
    } catch (const std::exception& error) {
        return error.what();
    }
    return std::string();
}

std::vector<std::string> tableNames()
{
    return SchemaUpgrade::tableNames();
}

}  // namespace

int CheckCommand::run(std::ostream& out, std::ostream& err, bool fixModes)
{
    // The database as it is: an upgrade due is reported, not done.
    UnchangedOnOpen asItIs;
    std::unique_ptr<EngineDatabase> database;
    if (!AliasDatabase::open(database, err))
        return 1;
    std::map<std::string, int> versions;
    (void)database->schemaVersions(tableNames(), versions);
    int known = SchemaSteps::active().version();
    const std::string& directory = database->directory();
    out << "Alias " << EngineConfig::defaultAlias << " names " << directory << '\n';
    if (fixModes)
        for (const std::string& line : DataDirectoryModes::fix(directory, tableNames()))
            out << "Modes mended: " << line << '\n';
    std::vector<std::string> reported;
    std::string failure = loadDataModule();
    if (failure.empty()) {
        out << "The data module opens all nine tables.\n";
    } else {
        err << "Opening the data module fails: " << failure << '\n';
        reported.push_back(failure);
    }
    bool onFiles = dynamic_cast<SqliteDatabase*>(database.get()) != nullptr;
    // Then every file on its own, so that all problems show, not the first.
    int problems = failure.empty() ? 0 : 1;
    auto report = [&](const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            if (std::find(reported.begin(), reported.end(), line) != reported.end())
                continue;
            err << line << '\n';
            reported.push_back(line);
            ++problems;
        }
    };
    for (const CatalogueTable& table : TableCatalogue::tables()) {
        const TableDescription wanted = table.description();
        const std::string& object = table.object;
        std::unique_ptr<EngineCursor> cursor;
        EngineStatus status = database->openTable(wanted.tableName, "", cursor);
        // Whatever will make stores fail, once the open mended what it could.
        std::vector<std::string> found = TableFileAccess::writeProblems(directory + "/" + wanted.tableName);
        if (!status.ok())
            found.insert(found.begin(), EDBEngineError::describe(status));
        else
            for (const std::string& line : columnProblems(cursor->description(), wanted, object))
                found.push_back(line);
        if (onFiles)
            for (const std::string& line : StoredValueCheck::foreignTypes(directory + "/" + wanted.tableName, wanted))
                found.push_back(line);
        report(found);
        if (!status.ok())
            continue;
        bool clean = found.empty();
        found.clear();
        if (table.rows.empty())  // the record tables: the ordering choices need indexes
            for (const IndexDescription& index : wanted.indexes)
                if (!hasIndexFor(cursor->description(), index.fieldList()))
                    found.push_back(object + ": No index for fields '" + index.fieldList() + "'");
        std::string check = integrity(*cursor);
        if (check != "ok")
            found.push_back(wanted.tableName + ": integrity check failed: " + check);
        for (const std::string& line : StoredValueCheck::badTexts(*cursor, wanted.tableName))
            found.push_back(line);
        report(found);
        if (clean && found.empty()) {
            std::int64_t count = 0;
            if (cursor->recordCount(count).ok())
                out << wanted.tableName << ": ok, " << count << " records, version " << versions[wanted.tableName]
                    << '\n';
        }
        if (auto found = versions.find(wanted.tableName); found != versions.end() && found->second < known)
            out << wanted.tableName << ": version " << found->second << "; an upgrade to version " << known
                << " is due (arsipstaf-admin upgrade)\n";
    }
    // Exposed personal data is a warning: the program itself works.
    for (const std::string& line : DataDirectoryModes::exposed(directory, tableNames()))
        err << "warning: " << line << '\n';
    if (problems == 0) {
        out << "All nine tables open and hold what the program needs.\n";
        return 0;
    }
    out << problems << (problems == 1 ? " problem" : " problems") << " found.\n";
    return 1;
}
