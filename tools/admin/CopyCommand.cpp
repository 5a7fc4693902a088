#include "CopyCommand.h"

#include "BulkInsert.h"
#include "DefaultTableFiles.h"
#include "EDBEngineError.h"
#include "PgDatabase.h"
#include "SqliteDatabase.h"
#include "StorageEngine.h"

#include <filesystem>
#include <functional>

namespace {

using File = DefaultTableFiles::File;

bool isServer(const std::string& where)
{
    return PgConnection::isServerAddress(where);
}

EngineStatus openServer(const std::string& address, std::shared_ptr<PgConnection>& connection,
                        std::unique_ptr<EngineDatabase>& out)
{
    EngineStatus status = PgConnection::open(address, StorageEngine::defaultSession().passwords(), connection);
    if (status.ok())
        out = std::make_unique<PgDatabase>(connection);
    return status;
}

std::string absolute(const std::string& directory)
{
    return std::filesystem::absolute(directory).lexically_normal().string();
}

EngineStatus openSource(const std::string& where, std::unique_ptr<EngineDatabase>& out)
{
    if (isServer(where)) {
        std::shared_ptr<PgConnection> connection;
        return openServer(where, connection, out);
    }
    if (!std::filesystem::is_directory(where))
        return EngineStatus::failure(EngineCode::DirectoryMissing, "Directory does not exist: " + where + ".");
    out = std::make_unique<SqliteDatabase>(absolute(where));
    return EngineStatus::success();
}

// The target with every missing table created.
EngineStatus openTarget(const std::string& where, std::unique_ptr<EngineDatabase>& out,
                        std::vector<std::string>& report)
{
    if (isServer(where)) {
        std::shared_ptr<PgConnection> connection;
        EngineStatus status = openServer(where, connection, out);
        return status.ok() ? DefaultTableFiles::createOnServer(connection, report) : status;
    }
    EngineStatus status = DefaultTableFiles::createIn(absolute(where), report);
    if (status.ok())
        out = std::make_unique<SqliteDatabase>(absolute(where));
    return status;
}

// Reads every record of a cursor in primary-key order.
EngineStatus readAll(EngineCursor& cursor, const std::function<EngineStatus(const EngineRecord&)>& each)
{
    EngineStatus status = cursor.setToBegin();
    EngineRecord record;
    while (status.ok() && (status = cursor.getNext(record)).ok())
        status = each(record);
    return status.endOfData() ? EngineStatus::success() : status;
}

// Whether a table holds exactly the codes a new database starts with.
EngineStatus holdsOnlyTheStartingCodes(EngineCursor& cursor, const File& file, std::int64_t count, bool& only)
{
    only = count == static_cast<std::int64_t>(file.rows.size());
    if (!only || count == 0)
        return EngineStatus::success();
    return readAll(cursor, [&](const EngineRecord& record) {
        bool known = false;
        for (const std::vector<std::string>& row : file.rows)
            known = known || std::vector<FieldValue>(row.begin(), row.end()) == record.values;
        only = only && known;
        return EngineStatus::success();
    });
}

EngineStatus deleteAll(EngineCursor& cursor)
{
    EngineStatus status = cursor.setToBegin();
    EngineRecord record;
    while (status.ok() && (status = cursor.getNext(record)).ok())
        status = cursor.deleteRecord();
    return status.endOfData() ? EngineStatus::success() : status;
}

// The source column of every target column, -1 for none.
std::vector<int> columnMap(const TableDescription& source, const TableDescription& target)
{
    std::vector<int> map;
    for (const FieldDescription& field : target.fields)
        map.push_back(source.fieldNumber(field.name));
    return map;
}

std::vector<FieldValue> mapped(const EngineRecord& record, const std::vector<int>& map)
{
    std::vector<FieldValue> values;
    for (int column : map)
        values.push_back(column < 0 ? FieldValue() : record.values[static_cast<size_t>(column)]);
    return values;
}

// Empty text and no text are the same value to both engines.
bool sameValues(const std::vector<FieldValue>& a, const std::vector<FieldValue>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].value_or(std::string()) != b[i].value_or(std::string()))
            return false;
    return true;
}

EngineStatus copyTable(EngineDatabase& from, EngineDatabase& to, const File& file, std::int64_t& copied)
{
    const std::string& name = file.description.tableName;
    std::unique_ptr<EngineCursor> source, target;
    std::unique_ptr<BulkInsert> bulk;
    EngineStatus status = from.openTable(name, "", source);
    if (status.ok())
        status = to.openTable(name, "", target);
    if (status.ok())
        status = deleteAll(*target);
    if (status.ok())
        status = BulkInsert::open(to, name, bulk);
    if (!status.ok())
        return status;
    std::vector<int> map = columnMap(source->description(), bulk->description());
    status = readAll(*source, [&](const EngineRecord& record) { return bulk->add(mapped(record, map)); });
    if (status.ok())
        status = bulk->flush();
    if (!status.ok())
        return status;

    // Read back: the same count, and record by record the same values.
    std::int64_t sourceCount = 0, targetCount = 0;
    status = source->recordCount(sourceCount);
    if (status.ok())
        status = target->recordCount(targetCount);
    if (!status.ok())
        return status;
    if (sourceCount != targetCount || bulk->added() != sourceCount)
        return EngineStatus::failure(EngineCode::Internal, name + ": the copy holds " + std::to_string(targetCount) +
                                                               " records, the source " + std::to_string(sourceCount) +
                                                               ".");
    std::vector<int> targetMap = columnMap(target->description(), target->description());
    EngineRecord theirs;
    std::int64_t position = 0;
    status = target->setToBegin();
    if (status.ok())
        status = readAll(*source, [&](const EngineRecord& record) {
            ++position;
            EngineStatus next = target->getNext(theirs);
            if (!next.ok() || !sameValues(mapped(record, map), mapped(theirs, targetMap)))
                return EngineStatus::failure(EngineCode::Internal, name + ": record " + std::to_string(position) +
                                                                       " differs after the copy.");
            return EngineStatus::success();
        });
    copied = sourceCount;
    return status;
}

}  // namespace

int CopyCommand::run(const std::string& from, const std::string& to, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<EngineDatabase> source, target;
    std::vector<std::string> report;
    EngineStatus status = openSource(from, source);
    if (status.ok())
        status = openTarget(to, target, report);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    // Nothing is written into a target that already holds records.
    std::vector<std::string> occupied;
    for (const File& file : DefaultTableFiles::all()) {
        std::unique_ptr<EngineCursor> cursor;
        std::int64_t count = 0;
        bool only = true;
        status = target->openTable(file.description.tableName, "", cursor);
        if (status.ok())
            status = cursor->recordCount(count);
        if (status.ok())
            status = holdsOnlyTheStartingCodes(*cursor, file, count, only);
        if (!status.ok()) {
            err << EDBEngineError::describe(status) << '\n';
            return 1;
        }
        if (!only)
            occupied.push_back(file.description.tableName + " (" + std::to_string(count) + " records)");
    }
    if (!occupied.empty()) {
        err << "The target already holds records; nothing was copied:\n";
        for (const std::string& line : occupied)
            err << "  " << line << '\n';
        return 1;
    }
    for (const File& file : DefaultTableFiles::all()) {
        std::int64_t copied = 0;
        status = copyTable(*source, *target, file, copied);
        if (!status.ok()) {
            err << EDBEngineError::describe(status) << '\n';
            return 1;
        }
        out << file.description.tableName << ": " << copied << " records copied and verified\n";
    }
    out << "Copied " << source->directory() << " to " << target->directory() << ".\n";
    return 0;
}
