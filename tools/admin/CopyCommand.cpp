#include "CopyCommand.h"

#include "BulkInsert.h"
#include "DefaultTableFiles.h"
#include "EDBEngineError.h"
#include "FieldValue.h"
#include "ServerEngine.h"
#include "StorageEngine.h"
#include "TableFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using File = DefaultTableFiles::File;

bool isServer(const std::string& where)
{
    return ServerEngine::isServerAddress(where);
}

EngineStatus openServer(const std::string& address, std::unique_ptr<ServerDatabase>& out)
{
    StorageEngine& session = StorageEngine::defaultSession();
    return session.asking([&] { return ServerEngine::openDatabase(address, session.passwords(), out); });
}

std::string absolute(const std::string& directory)
{
    return std::filesystem::absolute(directory).lexically_normal().string();
}

EngineStatus openSource(const std::string& where, std::unique_ptr<EngineDatabase>& out)
{
    if (isServer(where)) {
        std::unique_ptr<ServerDatabase> server;
        EngineStatus status = openServer(where, server);
        out = std::move(server);
        return status;
    }
    if (!std::filesystem::is_directory(where))
        return EngineStatus::failure(EngineCode::DirectoryMissing, "Directory does not exist: " + where + ".");
    out = TableFiles::database(absolute(where));
    return EngineStatus::success();
}

// Where the copy is written until it is complete: on a server one
// transaction; for a directory a folder inside it, whose table files are
// moved in at the end. Unless finished, the target is left as it was.
class CopyTarget {
public:
    CopyTarget() = default;
    CopyTarget(const CopyTarget&) = delete;
    CopyTarget& operator=(const CopyTarget&) = delete;
    ~CopyTarget()
    {
        if (server_ && !finished_)
            (void)server_->runScript("ROLLBACK", "Cannot undo the copy.");
        server_ = nullptr;
        database_.reset();
        std::error_code ignored;
        if (!staging_.empty())
            std::filesystem::remove_all(finished_ || !made_ ? staging_ : directory_, ignored);
    }

    // Opens the target with every missing table created where the copy
    // goes; what it held before stays readable through current().
    EngineStatus open(const std::string& where, std::vector<std::string>& report)
    {
        if (isServer(where)) {
            std::unique_ptr<ServerDatabase> server;
            EngineStatus status = openServer(where, server);
            server_ = server.get();
            database_ = std::move(server);
            if (status.ok())
                status = server_->runScript("BEGIN", "Cannot start the copy.");
            return status.ok() ? DefaultTableFiles::createOnServer(*server_, report) : status;
        }
        directory_ = absolute(where);
        std::error_code error;
        made_ = std::filesystem::create_directories(directory_, error);
        if (error || (made_ && ::chmod(directory_.c_str(), DefaultTableFiles::Modes().directory) != 0))
            return EngineStatus::failure(EngineCode::DirectoryMissing,
                                         "Cannot create the directory " + directory_ + ".",
                                         {error ? error.message() : std::strerror(errno)});
        std::string pattern = directory_ + "/.copy-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return EngineStatus::failure(EngineCode::IoError, "Cannot write into the directory " + directory_ + ".",
                                         {std::strerror(errno)});
        staging_ = pattern;
        EngineStatus status = DefaultTableFiles::createIn(staging_, report);
        if (status.ok())
            database_ = TableFiles::database(staging_);
        return status;
    }

    // Where the copy is written.
    EngineDatabase& database() { return *database_; }
    // The target as it is now: for a directory its own files; a missing
    // one is an empty table.
    EngineStatus current(const std::string& tableName, std::unique_ptr<EngineCursor>& out)
    {
        if (staging_.empty())
            return database_->openTable(tableName, "", out);
        out.reset();
        if (!std::filesystem::exists(directory_ + "/" + tableName))
            return EngineStatus::success();
        return TableFiles::database(directory_)->openTable(tableName, "", out);
    }
    std::string location() const { return staging_.empty() ? database_->directory() : directory_; }

    // Commits the transaction, or moves every table file in (keeping the
    // modes and group of a file it replaces).
    EngineStatus finish()
    {
        if (server_) {
            EngineStatus status = server_->runScript("COMMIT", "Cannot store the copy.");
            finished_ = status.ok();
            return status;
        }
        database_.reset();
        for (const File& file : DefaultTableFiles::all()) {
            std::string name = file.description.tableName;
            std::string staged = staging_ + "/" + name, target = directory_ + "/" + name;
            struct stat before {};
            bool replacing = ::stat(target.c_str(), &before) == 0;
            bool kept = !replacing || (::chown(staged.c_str(), static_cast<uid_t>(-1), before.st_gid) == 0 &&
                                       ::chmod(staged.c_str(), before.st_mode & 07777) == 0);
            if (!kept || std::filesystem::exists(staged + "-wal") || ::rename(staged.c_str(), target.c_str()) != 0)
                return EngineStatus::failure(EngineCode::IoError, "Cannot move the copy of " + name + " into place.",
                                             {std::strerror(errno), "Directory: " + directory_});
        }
        finished_ = true;
        if (int dir = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY); dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        return EngineStatus::success();
    }

private:
    ServerDatabase* server_ = nullptr;  // database_ when the copy goes to a server
    std::unique_ptr<EngineDatabase> database_;
    std::string directory_;
    std::string staging_;
    bool made_ = false;
    bool finished_ = false;
};

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
            if (!next.ok() || !sameStoredValues(mapped(record, map), mapped(theirs, targetMap)))
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
    std::unique_ptr<EngineDatabase> source;
    CopyTarget target;
    std::vector<std::string> report;
    EngineStatus status = openSource(from, source);
    if (status.ok())
        status = target.open(to, report);
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
        status = target.current(file.description.tableName, cursor);
        if (status.ok() && cursor)
            status = cursor->recordCount(count);
        if (status.ok() && cursor)
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
    // Told only once the copy is in place: a failure leaves the target as it was.
    std::vector<std::string> copiedLines;
    for (const File& file : DefaultTableFiles::all()) {
        std::int64_t copied = 0;
        status = copyTable(*source, target.database(), file, copied);
        if (!status.ok()) {
            err << EDBEngineError::describe(status) << '\n' << "Nothing was copied; the target is as it was.\n";
            return 1;
        }
        copiedLines.push_back(file.description.tableName + ": " + std::to_string(copied) +
                              " records copied and verified\n");
    }
    status = target.finish();
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    for (const std::string& line : copiedLines)
        out << line;
    out << "Copied " << source->directory() << " to " << target.location() << ".\n";
    return 0;
}
