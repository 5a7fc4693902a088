#include "GenerateCommand.h"

#include "AliasDatabase.h"
#include "BulkInsert.h"
#include "DemoRecordMaker.h"
#include "EDBEngineError.h"
#include "EngineConfig.h"
#include "StorageEngine.h"
#include "TableFields.h"
#include "TableFiles.h"

#include <functional>
#include <iterator>

namespace {

// The codes of a code table in key order, read through the engine.
EngineStatus readCodes(EngineDatabase& database, const std::string& table, std::vector<std::string>& codes)
{
    std::unique_ptr<EngineCursor> cursor;
    EngineStatus status = database.openTable(table, "", cursor);
    EngineRecord record;
    while (status.ok() && (status = cursor->getNext(record)).ok())
        codes.push_back(record.values.at(0).value_or(std::string()));
    return status.endOfData() ? EngineStatus::success() : status;
}

// Adds rows made by make(n) for n = first, first + 1 ... until count were
// added, each in the table's own column order; a row whose key is already
// taken is skipped.
EngineStatus fill(BulkInsert& bulk, std::uint64_t first, long long count,
                  const std::function<DemoRecordMaker::Named(std::uint64_t)>& make)
{
    EngineStatus status;
    std::int64_t before = bulk.added();
    for (std::uint64_t n = first; status.ok() && bulk.added() - before < count;) {
        while (status.ok() && bulk.added() - before + bulk.pending() < count)
            status = bulk.add(DemoRecordMaker::inColumnOrder(make(n++), bulk.description()));
        if (status.ok())
            status = bulk.flush();
    }
    return status;
}

}  // namespace

int GenerateCommand::runIn(EngineDatabase& database, long long count, std::ostream& out, std::ostream& err)
{
    DemoRecordMaker::Codes codes;
    const std::pair<const char*, std::vector<std::string>*> codeTables[] = {
        {fields::JK::file, &codes.sexes},          {fields::Agama::file, &codes.religions},
        {fields::Pangkat::file, &codes.ranks},     {fields::Golongan::file, &codes.grades},
        {fields::Jabatan::file, &codes.positions}, {fields::Pend_Formal::file, &codes.educations},
        {fields::Status::file, &codes.statuses}};
    std::unique_ptr<BulkInsert> employees, transfers;
    EngineStatus status = BulkInsert::open(database, fields::Datapegawai::file, employees);
    if (status.ok())
        status = BulkInsert::open(database, fields::Mutasi::file, transfers);
    for (const auto& [table, list] : codeTables)
        if (status.ok())
            status = readCodes(database, table, *list);
    std::int64_t employeeCount = 0, transferCount = 0;
    std::unique_ptr<EngineCursor> cursor;
    if (status.ok())
        status = database.openTable(fields::Datapegawai::file, "", cursor);
    if (status.ok())
        status = cursor->recordCount(employeeCount);
    if (status.ok())
        status = database.openTable(fields::Mutasi::file, "", cursor);
    if (status.ok())
        status = cursor->recordCount(transferCount);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    // Continue the numbering of earlier runs so that keys stay distinct.
    std::uint64_t first = static_cast<std::uint64_t>(std::max(employeeCount, transferCount));
    DemoRecordMaker maker(codes, 20240817 + first);
    status = fill(*employees, first, count, [&](std::uint64_t n) { return maker.employee(n); });
    employees.reset();  // gives its page cache back before the second table fills its own
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

int GenerateCommand::runIn(const std::string& directory, long long count, std::ostream& out, std::ostream& err)
{
    return runIn(*TableFiles::database(directory), count, out, err);
}

int GenerateCommand::run(long long count, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<EngineDatabase> database;
    if (!AliasDatabase::open(database, err))
        return 1;
    return runIn(*database, count, out, err);
}
