#include "SqliteCursor.h"

#include "CaseVariants.h"
#include "TextCompare.h"
#include "UnicodeText.h"

#include <algorithm>

namespace {

// Most spellings a prefix search seeks; characters beyond are checked on the rows read.
constexpr size_t spellingLimit = 16;

}  // namespace

EngineStatus SqliteCursor::open(std::shared_ptr<SqliteTableFile> file, const std::string& indexName,
                                std::unique_ptr<EngineCursor>& out)
{
    std::unique_ptr<SqliteCursor> cursor(new SqliteCursor(std::move(file)));
    EngineStatus status = cursor->follow(indexName);
    if (!status.ok())
        return status;
    out = std::move(cursor);
    return EngineStatus::success();
}

SqliteCursor::~SqliteCursor()
{
    releaseHeldLock();
}

EngineStatus SqliteCursor::follow(const std::string& indexName)
{
    int number = file_->indexNumber(indexName);
    if (number < 0 && !(indexName.empty() && file_->description().indexes.empty()))
        return file_->failure(EngineCode::NoSuchIndex, "Index '" + indexName + "' does not exist.");
    SqliteKeyOrder* order = nullptr;
    EngineStatus status = file_->keyOrder(number, order);
    if (!status.ok())
        return status;
    indexNumber_ = number;
    order_ = order;
    key_.assign(order_->columns().size(), std::string());
    return EngineStatus::success();
}

EngineStatus SqliteCursor::refreshDescription()
{
    std::string name = currentIndex().name;
    EngineStatus status = file_->refreshDescription();
    if (status.ok())
        status = follow(name);
    return status;
}

EngineStatus SqliteCursor::fetch(Op op, int prefix, EngineRecord& out, bool& found)
{
    found = false;
    int rc = SQLITE_OK;
    SqliteStatement* statement = order_->statement(op, prefix, rc);
    if (!statement)
        return file_->sqliteFailure(rc, "Cannot read the table.");
    if (op != Op::First && op != Op::Last)
        bindPosition(*statement, prefix);
    rc = statement->step();
    EngineStatus keys;
    if (rc == SQLITE_ROW) {
        keys = checkKeyTypes(*statement);  // before reading: reading converts to text
        found = keys.ok();
        if (found)
            file_->readRow(*statement, scratch_);
    }
    statement->reset();
    if (!keys.ok())
        return keys;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return file_->sqliteFailure(rc, "Cannot read the table.");
    if (found) {
        standOn(scratch_);
        std::swap(out, scratch_);
    }
    return EngineStatus::success();
}

void SqliteCursor::bindPosition(SqliteStatement& statement, int prefix, int first) const
{
    int keyed = static_cast<int>(key_.size());
    for (int i = 0; i < prefix; ++i) {
        if (i < keyed)
            statement.bindText(first + i, key_[static_cast<size_t>(i)]);
        else
            statement.bindInt64(first + i, rowid_);
    }
}

bool SqliteCursor::nextStep(bool forward, Op& op, int& prefix) const
{
    prefix = 0;
    op = forward ? Op::First : Op::Last;
    switch (place_) {
    case Place::Begin:
        return forward;
    case Place::End:
        return !forward;
    case Place::Record:
        op = forward ? Op::Greater : Op::Less;
        prefix = order_->length();
        return true;
    case Place::Crack:
        if (forward)
            op = inclusive_ ? Op::GreaterEqual : Op::Greater;
        else
            op = inclusive_ ? Op::Less : Op::LessEqual;
        prefix = prefix_;
        return true;
    }
    return true;
}

// The records out holds lend their room to the rows read: a reading reuses
// one run's records for the next.
EngineStatus SqliteCursor::getRun(bool forward, int count, std::vector<EngineRecord>& out)
{
    Op op = Op::First;
    int prefix = 0;
    if (count <= 0 || !nextStep(forward, op, prefix)) {
        out.clear();
        return EngineStatus::success();
    }
    int rc = SQLITE_OK;
    SqliteStatement* statement = order_->runStatement(op, prefix, rc);
    if (!statement) {
        out.clear();
        return file_->sqliteFailure(rc, "Cannot read the table.");
    }
    int bound = op == Op::First || op == Op::Last ? 0 : prefix;
    bindPosition(*statement, bound);
    statement->bindInt64(bound + 1, count);
    out.reserve(static_cast<size_t>(count));
    EngineStatus keys;
    size_t filled = 0;
    while ((rc = statement->step()) == SQLITE_ROW && (keys = checkKeyTypes(*statement)).ok()) {
        if (filled == out.size())
            out.emplace_back();
        file_->readRow(*statement, out[filled++]);
    }
    out.resize(filled);
    statement->reset();
    if (!keys.ok()) {
        out.clear();
        return keys;
    }
    if (rc != SQLITE_DONE) {
        out.clear();
        return file_->sqliteFailure(rc, "Cannot read the table.");
    }
    // Where count single steps would have left the cursor.
    if (static_cast<int>(out.size()) < count)
        place_ = forward ? Place::End : Place::Begin;
    else
        standOn(out.back());
    return EngineStatus::success();
}

// A key of another storage type (binary data another tool wrote) does not
// compare with the text a move binds: the order would go round for ever, a
// report would never end. Refused where a move meets it.
EngineStatus SqliteCursor::checkKeyTypes(const SqliteStatement& statement) const
{
    for (int column : order_->columns()) {
        int type = sqlite3_column_type(statement.get(), column + 1);
        if (type == SQLITE_TEXT)
            continue;
        static const char* const names[] = {"", "integer", "real", "text", "blob", "null"};
        const std::string& field = file_->description().fields[static_cast<size_t>(column)].name;
        return file_->failure(EngineCode::TableCorrupt, "The table file holds a value of another type.",
                              {"Field '" + field + "' of record " + std::to_string(statement.int64(0)) + " holds " +
                               SqliteTableFile::storageName(names[type]) + ", not text."});
    }
    return EngineStatus::success();
}

EngineStatus SqliteCursor::getNextRecords(int count, std::vector<EngineRecord>& out)
{
    return getRun(true, count, out);
}

EngineStatus SqliteCursor::getPriorRecords(int count, std::vector<EngineRecord>& out)
{
    return getRun(false, count, out);
}

EngineStatus SqliteCursor::getNext(EngineRecord& out)
{
    return step(true, out);
}

EngineStatus SqliteCursor::getPrior(EngineRecord& out)
{
    return step(false, out);
}

EngineStatus SqliteCursor::step(bool forward, EngineRecord& out)
{
    Op op = Op::First;
    int prefix = 0;
    EngineStatus end =
        forward ? EngineStatus::failure(EngineCode::EndOfData, "") : EngineStatus::failure(EngineCode::BeginOfData, "");
    if (!nextStep(forward, op, prefix))
        return end;
    bool found = false;
    EngineStatus status = fetch(op, prefix, out, found);
    if (!status.ok())
        return status;
    if (!found) {
        place_ = forward ? Place::End : Place::Begin;
        return end;
    }
    return EngineStatus::success();
}

EngineStatus SqliteCursor::getRecord(EngineRecord& out, Lock lock)
{
    if (place_ != Place::Record)
        return noCurrentRecord();
    if (lock == Lock::Write && file_->readOnly())
        return file_->readOnlyFailure();
    if (lock == Lock::Write) {
        EngineStatus status = file_->locks().lock(rowid_, this);
        if (!status.ok())
            return file_->failure(status.code, status.message, status.stack);
    }
    EngineStatus status = file_->readRecord(rowid_, scratch_);
    if (!status.ok()) {
        if (lock == Lock::Write && locked_ != rowid_)
            file_->locks().unlock(rowid_, this);
        if (status.code == EngineCode::RecordNotFound)
            return file_->failure(EngineCode::RecordGone, "Record was deleted by another user.");
        return status;
    }
    if (lock == Lock::Write) {
        if (locked_ != 0 && locked_ != rowid_)
            releaseHeldLock();
        locked_ = rowid_;
        lockedImage_ = scratch_;
    }
    // Another process may have changed the key: follow the record.
    standOn(scratch_);
    out = scratch_;
    return EngineStatus::success();
}

EngineStatus SqliteCursor::setToBookmark(std::int64_t bookmark)
{
    EngineStatus status = file_->readRecord(bookmark, scratch_);
    // A bookmark comes from a record that was read: it is gone since.
    if (status.code == EngineCode::RecordNotFound)
        return file_->failure(EngineCode::RecordNotFound, "Record was deleted by another user.");
    if (!status.ok())
        return status;
    standOn(scratch_);
    return EngineStatus::success();
}

EngineStatus SqliteCursor::switchToIndex(const std::string& indexName, bool keepCurrent)
{
    bool keep = keepCurrent && place_ == Place::Record;
    std::int64_t rowid = rowid_;
    EngineStatus status = follow(indexName);
    if (!status.ok())
        return status;
    place_ = Place::Begin;
    if (keep && file_->readRecord(rowid, scratch_).ok())
        standOn(scratch_);
    return EngineStatus::success();
}

EngineStatus SqliteCursor::failure(EngineCode code, const std::string& message) const
{
    return file_->failure(code, message);
}

EngineStatus SqliteCursor::seekEqual(int fieldCount, bool& found)
{
    return fetch(Op::Equal, fieldCount, scratch_, found);
}

EngineStatus SqliteCursor::insertRecord(const EngineRecord& record)
{
    if (file_->readOnly())
        return file_->readOnlyFailure();
    std::int64_t rowid = 0;
    EngineStatus status = file_->insert(record, rowid);
    if (!status.ok())
        return status;
    standOn(file_->storable(record), rowid);
    return EngineStatus::success();
}

EngineStatus SqliteCursor::modifyRecord(const EngineRecord& record)
{
    if (locked_ == 0)
        return file_->failure(EngineCode::NotLocked, "Record is not locked.");
    EngineStatus status = file_->update(locked_, lockedImage_, record);
    if (!status.ok())
        return status;
    std::int64_t rowid = locked_;
    releaseHeldLock();
    standOn(file_->storable(record), rowid);
    return EngineStatus::success();
}

void SqliteCursor::releaseHeldLock()
{
    if (locked_ != 0)
        file_->locks().unlock(locked_, this);
    locked_ = 0;
    lockedImage_ = EngineRecord{};
}

EngineStatus SqliteCursor::releaseLock()
{
    releaseHeldLock();
    return EngineStatus::success();
}

EngineStatus SqliteCursor::deleteRecord()
{
    if (place_ != Place::Record)
        return noCurrentRecord();
    if (file_->readOnly())
        return file_->readOnlyFailure();
    // Nobody may delete a record another user is editing.
    EngineStatus status = file_->locks().lock(rowid_, this);
    if (!status.ok())
        return file_->failure(status.code, status.message, status.stack);
    status = file_->remove(rowid_);
    file_->locks().unlock(rowid_, this);
    if (locked_ == rowid_) {
        locked_ = 0;
        lockedImage_ = EngineRecord{};
    }
    if (status.ok() || status.code == EngineCode::RecordGone) {
        place_ = Place::Crack;
        prefix_ = order_->length();
        inclusive_ = true;
    }
    return status;
}

EngineStatus SqliteCursor::recordCount(std::int64_t& out)
{
    return file_->count(out);
}

EngineStatus SqliteCursor::changeStamp(std::uint64_t& out)
{
    return file_->changeStamp(out);
}

EngineStatus SqliteCursor::cloneCursor(const std::string& indexName, std::unique_ptr<EngineCursor>& out)
{
    return open(file_, indexName, out);
}

EngineStatus SqliteCursor::findFiltered(const std::vector<int>& fieldNumbers, const std::vector<FieldValue>& values,
                                        EngineRecord& out)
{
    const std::vector<FieldDescription>& fields = description().fields;
    EngineStatus status = checkFilter(fieldNumbers, values);
    if (!status.ok())
        return status;
    SqliteStatement* statement = file_->filterStatement(fieldNumbers, *order_, status);
    if (!statement)
        return status;
    for (size_t i = 0; i < values.size(); ++i) {
        bool text = fields[static_cast<size_t>(fieldNumbers[i])].type == ColumnType::Text;
        // Text is stored as '' where a buffer holds null.
        statement->bind(static_cast<int>(i) + 1, text ? FieldValue(values[i].value_or(std::string())) : values[i]);
    }
    int rc = statement->step();
    if (rc == SQLITE_ROW)
        file_->readRow(*statement, out);
    statement->reset();
    if (rc == SQLITE_DONE)
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    if (rc != SQLITE_ROW)
        return file_->sqliteFailure(rc, "Cannot read the table.");
    return EngineStatus::success();
}

const IndexDescription* SqliteCursor::prefixIndex(int fieldNumber) const
{
    const TableDescription& table = description();
    const IndexDescription* chosen = nullptr;
    for (const IndexDescription& index : table.indexes) {
        if (index.expression || index.descending || index.fields.empty() ||
            table.fieldNumber(index.fields.front()) != fieldNumber || !SqliteKeyOrder::check(table, index).empty())
            continue;
        if (&index == &currentIndex())
            return &index;  // already in order: no sort
        if (!chosen || (index.caseInsensitive && !chosen->caseInsensitive))
            chosen = &index;
    }
    return chosen;
}

std::string SqliteCursor::prefixSql(int fieldNumber, const IndexDescription& index, bool named) const
{
    std::string column = SqliteTableFile::quote(description().fields[static_cast<size_t>(fieldNumber)].name);
    std::string collate = index.caseInsensitive ? " COLLATE NOCASE" : "";
    std::string where = " WHERE " + column + " >= ?" + collate + " AND " + column + " < ?" + collate;
    if (&currentIndex() == &index)
        return order_->scanSql("", where);
    // In another order the ranges are read unsorted, only the searched column
    // and this order's key: with the usual key (NIP) that is all in the index.
    std::string select = "SELECT rid, " + column;
    for (int key : order_->columns())
        select += ", " + SqliteTableFile::quote(description().fields[static_cast<size_t>(key)].name);
    std::string from = " FROM records" + (named ? " INDEXED BY " + SqliteTableFile::quote("index_" + index.name) : "");
    return select + from + where;
}

EngineStatus SqliteCursor::firstWithPrefix(SqliteStatement& statement, int fieldNumber, const std::string& prefix,
                                           EngineRecord& out, bool& found, int limit)
{
    found = false;
    int rc = SQLITE_OK;
    for (int read = 0; (limit < 0 || read < limit) && (rc = statement.step()) == SQLITE_ROW; ++read) {
        // Only the searched column is read for the rows passed over.
        if (TextCompare::startsWithNoCase(statement.text(fieldNumber + 1), prefix)) {
            file_->readRow(statement, out);
            found = true;
            break;
        }
    }
    statement.reset();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return file_->sqliteFailure(rc, "Cannot read the table.");
    return EngineStatus::success();
}

EngineStatus SqliteCursor::findPrefix(int fieldNumber, const std::string& prefix, EngineRecord& out)
{
    const TableDescription& table = description();
    if (fieldNumber < 0 || fieldNumber >= static_cast<int>(table.fields.size()))
        return file_->failure(EngineCode::NoSuchField, "No field number " + std::to_string(fieldNumber) + ".");
    const IndexDescription* index = prefixIndex(fieldNumber);
    size_t covered = 0;
    std::vector<std::string> spellings;
    std::u32string characters = UnicodeText::fromUtf8(prefix);
    // Undecodable text folds to U+FFFD, which no spelling seeks.
    if (index && characters.find(UnicodeText::replacement) == std::u32string::npos)
        spellings = CaseVariants::spellings(prefix, index->caseInsensitive, spellingLimit, covered);
    // Every text in a range spelling the whole prefix begins with it as
    // folded: in the index's order the least of the ranges' first rows is
    // the record sought, all ranges read in one statement.
    if (!spellings.empty() && &currentIndex() == index && covered == characters.size()) {
        bool found = false;
        EngineStatus status = firstOfRanges(fieldNumber, spellings, out, found);
        if (status.ok() && !found)
            return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
        return status;
    }

    EngineStatus status;
    bool found = false;
    SqliteStatement* scan = nullptr;
    if (spellings.empty() || &currentIndex() != index) {
        scan = file_->cachedStatement(order_->scanSql("", ""), status);
        if (!scan)
            return status;
    }
    SqliteStatement* seek = nullptr;
    if (!spellings.empty()) {
        seek = file_->cachedStatement(prefixSql(fieldNumber, *index, true), status);
        if (!seek)  // a file whose indexes are named otherwise: let SQLite choose
            seek = file_->cachedStatement(prefixSql(fieldNumber, *index, false), status);
        if (!seek)
            return status;
    }
    if (spellings.empty()) {
        status = firstWithPrefix(*scan, fieldNumber, prefix, out, found, -1);
    } else if (scan) {
        status = raceForPrefix(*scan, *seek, fieldNumber, prefix, spellings, out, found);
    } else {
        EngineRecord candidate;
        for (const std::string& spelling : spellings) {
            bindRange(*seek, spelling);
            bool hit = false;
            status = firstWithPrefix(*seek, fieldNumber, prefix, candidate, hit, -1);
            if (!status.ok())
                return status;
            if (hit && (!found || order_->compare(candidate, out) < 0)) {
                std::swap(out, candidate);
                found = true;
            }
        }
    }
    if (status.ok() && !found)
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    return status;
}

std::string SqliteCursor::rangeStartsSql(int fieldNumber, size_t ranges) const
{
    std::string one = prefixSql(fieldNumber, currentIndex(), true) + " LIMIT 1";
    if (ranges == 1)
        return one;
    std::string text;
    for (size_t i = 0; i < ranges; ++i)
        text += (i ? " UNION ALL " : "") + std::string("SELECT * FROM (") + one + ")";
    return text;
}

void SqliteCursor::bindRange(SqliteStatement& statement, const std::string& spelling, int first)
{
    // No UTF-8 text holds the byte 0xFF: this bounds every text that begins with spelling.
    statement.bindText(first, spelling);
    statement.bindText(first + 1, spelling + '\xFF');
}

EngineStatus SqliteCursor::firstOfRanges(int fieldNumber, const std::vector<std::string>& spellings, EngineRecord& out,
                                         bool& found)
{
    EngineStatus status;
    SqliteStatement* starts = file_->cachedStatement(rangeStartsSql(fieldNumber, spellings.size()), status);
    if (!starts)
        return status;
    for (size_t i = 0; i < spellings.size(); ++i)
        bindRange(*starts, spellings[i], static_cast<int>(2 * i + 1));
    EngineRecord candidate;
    int rc = SQLITE_OK;
    while ((rc = starts->step()) == SQLITE_ROW) {
        file_->readRow(*starts, candidate);
        if (!found || order_->compare(candidate, out) < 0)
            std::swap(out, candidate);
        found = true;
    }
    starts->reset();
    if (rc != SQLITE_DONE)
        return file_->sqliteFailure(rc, "Cannot read the table.");
    return EngineStatus::success();
}

// Where many records match, this cursor's order meets one within a few rows;
// where few do, their ranges on the index are short. One row of each in turn,
// until the order meets a match (the first, by definition) or every range is
// read (the least of them in this order is the first): the cost is about
// twice the cheaper of the two, and nothing is sorted.
EngineStatus SqliteCursor::raceForPrefix(SqliteStatement& scan, SqliteStatement& ranges, int fieldNumber,
                                         const std::string& prefix, const std::vector<std::string>& spellings,
                                         EngineRecord& out, bool& found)
{
    found = false;
    const std::vector<int>& keys = order_->columns();
    EngineRecord least, candidate;
    least.values.resize(description().fields.size());
    candidate.values.resize(description().fields.size());
    bool any = false;
    size_t spelling = 0;
    bindRange(ranges, spellings[spelling]);
    EngineStatus status;
    int rc = SQLITE_OK;
    for (;;) {
        if ((rc = scan.step()) != SQLITE_ROW)
            break;  // read to its end: nothing matches
        if (TextCompare::startsWithNoCase(scan.text(fieldNumber + 1), prefix)) {
            file_->readRow(scan, out);
            found = true;
            break;
        }
        rc = ranges.step();
        if (rc == SQLITE_ROW) {
            if (!TextCompare::startsWithNoCase(ranges.text(1), prefix))
                continue;
            candidate.bookmark = ranges.int64(0);
            candidate.values[static_cast<size_t>(fieldNumber)] = ranges.value(1);
            for (size_t i = 0; i < keys.size(); ++i)
                candidate.values[static_cast<size_t>(keys[i])] = ranges.value(static_cast<int>(i) + 2);
            if (!any || order_->compare(candidate, least) < 0) {
                std::swap(least, candidate);
                any = true;
            }
            continue;
        }
        if (rc != SQLITE_DONE)
            break;
        ranges.reset();
        if (++spelling < spellings.size()) {
            bindRange(ranges, spellings[spelling]);
            continue;
        }
        if (any) {
            status = file_->readRecord(least.bookmark, out);
            found = status.ok();
        }
        break;
    }
    scan.reset();
    ranges.reset();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return file_->sqliteFailure(rc, "Cannot read the table.");
    return status;
}

EngineStatus SqliteCursor::readHistory(const HistoryQuery& query, std::vector<HistoryRow>& out)
{
    return file_->readHistory(query, out);
}
