#include "GenerateCommand.h"

#include "AliasDatabase.h"
#include "DemoRecordMaker.h"
#include "EDBEngineError.h"
#include "EngineConfig.h"
#include "SqliteTableFile.h"
#include "StorageEngine.h"

#include <functional>

namespace {

constexpr long long batchSize = 50000;

EngineStatus readCodes(const std::string& directory, const std::string& table, std::vector<std::string>& codes)
{
    std::shared_ptr<SqliteTableFile> file;
    EngineStatus status = SqliteTableFile::open(directory, table, file);
    if (!status.ok())
        return status;
    SqliteStatement select;
    std::string column = SqliteTableFile::quote(file->description().fields.at(0).name);
    int rc = select.prepare(file->handle(), "SELECT " + column + " FROM records ORDER BY " + column);
    while (rc == SQLITE_OK && select.step() == SQLITE_ROW)
        codes.push_back(select.text(0));
    return rc == SQLITE_OK ? EngineStatus::success() : file->sqliteFailure(rc, "Cannot read the codes.");
}

// Inserts rows made by make(n) for n = first, first + 1 ... until count were
// added; a row whose key is already taken is skipped.
EngineStatus fill(SqliteTableFile& file, std::uint64_t first, long long count,
                  const std::function<std::vector<std::string>(std::uint64_t)>& make)
{
    sqlite3* db = file.handle();
    sqlite3_exec(db, "PRAGMA cache_size = -262144", nullptr, nullptr, nullptr);
    std::string sql = SqliteTableFile::insertSql(file.description());
    SqliteStatement insert;
    int rc = insert.prepare(db, "INSERT OR IGNORE" + sql.substr(6));
    if (rc != SQLITE_OK)
        return file.sqliteFailure(rc, "Cannot add records.");
    long long added = 0;
    for (std::uint64_t n = first; added < count && rc == SQLITE_OK;) {
        rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (long long inBatch = 0; rc == SQLITE_OK && inBatch < batchSize && added < count; ++n, ++inBatch) {
            std::vector<std::string> values = make(n);
            for (size_t i = 0; i < values.size(); ++i)
                insert.bindText(static_cast<int>(i) + 1, values[i]);
            rc = insert.step() == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
            added += sqlite3_changes(db);
            insert.reset();
        }
        int committed = sqlite3_exec(db, rc == SQLITE_OK ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = committed;
    }
    if (rc != SQLITE_OK)
        return file.sqliteFailure(rc, "Cannot add records.");
    return EngineStatus::success();
}

} // namespace

int GenerateCommand::runIn(const std::string& directory, long long count, std::ostream& out, std::ostream& err)
{
    DemoRecordMaker::Codes codes;
    const std::pair<const char*, std::vector<std::string>*> codeTables[] = {
        {"JK.db", &codes.sexes},         {"Agama.db", &codes.religions}, {"Pangkat.db", &codes.ranks},
        {"Golongan.db", &codes.grades},  {"Jabatan.db", &codes.positions}, {"Pend_Formal.db", &codes.educations},
        {"Status.db", &codes.statuses}};
    std::shared_ptr<SqliteTableFile> employees, transfers;
    EngineStatus status = SqliteTableFile::open(directory, "Datapegawai.db", employees);
    if (status.ok())
        status = SqliteTableFile::open(directory, "Mutasi.db", transfers);
    for (const auto& [table, list] : codeTables)
        if (status.ok())
            status = readCodes(directory, table, *list);
    std::int64_t employeeCount = 0, transferCount = 0;
    if (status.ok())
        status = employees->count(employeeCount);
    if (status.ok())
        status = transfers->count(transferCount);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    // Continue the numbering of earlier runs so that keys stay distinct.
    std::uint64_t first = static_cast<std::uint64_t>(std::max(employeeCount, transferCount));
    DemoRecordMaker maker(codes, 20240817 + first);
    status = fill(*employees, first, count, [&](std::uint64_t n) { return maker.employee(n); });
    if (status.ok()) {
        out << "Datapegawai.db: " << count << " records added\n";
        DemoRecordMaker transferMaker(codes, 19450817 + first);
        status = fill(*transfers, first, count, [&](std::uint64_t n) { return transferMaker.transfer(n); });
    }
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    out << "Mutasi.db: " << count << " records added\n";
    return 0;
}

int GenerateCommand::run(long long count, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<EngineDatabase> database;
    if (!AliasDatabase::open(database, err))
        return 1;
    return runIn(database->directory(), count, out, err);
}
