#include "PgCursor.h"

#include "CaseVariants.h"
#include "SqliteTableFile.h"
#include "TextCompare.h"
#include "UnicodeText.h"

#include <algorithm>

namespace {

// Most spellings a prefix search seeks; beyond them every record is read.
constexpr size_t spellingLimit = 16;
// Rows of the cursor's own order looked at before the prefix's ranges are
// read and sorted: where a prefix is common one is met among them, where it
// is not the ranges are short.
constexpr int probeRows = 512;

// The least text greater than every text that begins with text, in code
// point (and so UTF-8 byte) order; empty when there is none.
std::string successor(const std::string& text)
{
    std::u32string points = UnicodeText::fromUtf8(text);
    while (!points.empty()) {
        char32_t& last = points.back();
        if (last < 0x10FFFF) {
            last = last == 0xD7FF ? 0xE000 : last + 1;
            return UnicodeText::toUtf8(points);
        }
        points.pop_back();
    }
    return std::string();
}

std::string asciiLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// "(element >= $n AND element < $m)": the values that begin with low; its
// bounds are appended to parameters.
std::string prefixRange(const std::string& element, const std::string& low, std::vector<FieldValue>& parameters)
{
    const std::string high = successor(low);
    parameters.emplace_back(low);
    std::string range = element + " >= $" + std::to_string(parameters.size());
    if (!high.empty()) {
        parameters.emplace_back(high);
        range += " AND " + element + " < $" + std::to_string(parameters.size());
    }
    return "(" + range + ")";
}

}  // namespace

EngineStatus PgCursor::open(std::shared_ptr<PgTable> table, const std::string& indexName,
                            std::unique_ptr<EngineCursor>& out)
{
    std::unique_ptr<PgCursor> cursor(new PgCursor(std::move(table)));
    EngineStatus status = cursor->follow(indexName);
    if (!status.ok())
        return status;
    out = std::move(cursor);
    return EngineStatus::success();
}

PgCursor::~PgCursor()
{
    releaseHeldLock();
}

EngineStatus PgCursor::follow(const std::string& indexName)
{
    int number = table_->indexNumber(indexName);
    if (number < 0 && !(indexName.empty() && table_->description().indexes.empty()))
        return table_->failure(EngineCode::NoSuchIndex, "Index '" + indexName + "' does not exist.");
    PgKeyOrder* order = nullptr;
    EngineStatus status = table_->keyOrder(number, order);
    if (!status.ok())
        return status;
    indexNumber_ = number;
    order_ = order;
    generation_ = table_->generation();
    indexName_ = number < 0 ? std::string() : table_->description().indexes[static_cast<size_t>(number)].name;
    key_.assign(order_->columns().size(), std::string());
    forgetRun();
    return EngineStatus::success();
}

EngineStatus PgCursor::refreshDescription()
{
    bool changed = false;
    EngineStatus status = table_->refreshDescription(changed);
    if (status.ok() && (changed || generation_ != table_->generation()))
        status = follow(indexName_);
    return status;
}

void PgCursor::forgetRun()
{
    run_.clear();
    at_ = -1;
    runHasFirst_ = runHasLast_ = false;
}

// Whether the run still holds what the table holds: no change notice came.
bool PgCursor::runCurrent()
{
    if (run_.empty())
        return false;
    std::uint64_t stamp = 0;
    if (table_->changeStamp(stamp).ok() && stamp == runStamp_)
        return true;
    forgetRun();
    return false;
}

void PgCursor::standAt(int i)
{
    standOn(run_[static_cast<size_t>(i)]);
    at_ = i;
}

PgCursor::Step PgCursor::stepInRun(int direction, EngineRecord& out)
{
    if (place_ != Place::Record || at_ < 0 || !runCurrent())
        return Step::Unknown;
    int next = at_ + direction;
    if (next >= 0 && next < static_cast<int>(run_.size())) {
        standAt(next);
        out = run_[static_cast<size_t>(next)];
        return Step::Found;
    }
    return (direction > 0 ? runHasLast_ : runHasFirst_) ? Step::Off : Step::Unknown;
}

// Takes rows read in reading order into the run and stands on the first.
// With extend they continue the run from the current record; complete says
// the query found fewer than it asked for, so the rows reach the table's end.
void PgCursor::keep(std::vector<EngineRecord>& rows, bool forwards, bool extend, bool complete)
{
    int count = static_cast<int>(rows.size());
    if (forwards) {
        if (extend)
            run_.erase(run_.begin() + at_ + 1, run_.end());
        else
            forgetRun();
        int first = static_cast<int>(run_.size());
        for (EngineRecord& row : rows)
            run_.push_back(std::move(row));
        runHasLast_ = complete;
        int drop = run_.size() > runLimit ? static_cast<int>(run_.size() - runLimit) : 0;
        run_.erase(run_.begin(), run_.begin() + drop);
        runHasFirst_ = runHasFirst_ && drop == 0;
        standAt(first - drop);
    } else {
        if (extend)
            run_.erase(run_.begin(), run_.begin() + at_);
        else
            forgetRun();
        for (EngineRecord& row : rows)
            run_.push_front(std::move(row));
        runHasFirst_ = complete;
        int drop = run_.size() > runLimit ? static_cast<int>(run_.size() - runLimit) : 0;
        run_.erase(run_.end() - drop, run_.end());
        runHasLast_ = runHasLast_ && drop == 0;
        standAt(count - 1);
    }
}

EngineStatus PgCursor::fetch(Op op, int prefix, int limit, EngineRecord& out, bool& found)
{
    found = false;
    // The stamp before the query: a notice that comes later drops the run.
    std::uint64_t stamp = 0;
    EngineStatus status = table_->changeStamp(stamp);
    if (!status.ok())
        return status;
    bool forwards = op == Op::First || op == Op::Greater || op == Op::GreaterEqual || op == Op::Equal;
    // Stepping off the run's end from its current record continues the run.
    bool extend = place_ == Place::Record && at_ >= 0 && !run_.empty() && stamp == runStamp_ &&
                  prefix == order_->length() && (op == Op::Greater || op == Op::Less);
    std::vector<FieldValue> parameters;
    if (op != Op::First && op != Op::Last) {
        int keyed = static_cast<int>(key_.size());
        for (int i = 0; i < prefix; ++i)
            parameters.emplace_back(i < keyed ? key_[static_cast<size_t>(i)] : std::to_string(rowid_));
    }
    PgResult result;
    status = table_->connection().run(order_->sql(op, prefix, limit), parameters, result, "Cannot read the table.");
    if (!status.ok())
        return table_->withContext(status);
    // Equal reads on from the first key not below: found when that one is equal.
    int hit = static_cast<int>(description().fields.size()) + 1;
    bool none = result.rows() == 0 || (op == Op::Equal && result.text(0, hit) != "t");
    if (none) {
        if (extend)
            (forwards ? runHasLast_ : runHasFirst_) = true;
        return EngineStatus::success();
    }
    found = true;
    std::vector<EngineRecord> rows(static_cast<size_t>(result.rows()));
    for (int row = 0; row < result.rows(); ++row)
        table_->readRow(result, row, rows[static_cast<size_t>(row)]);
    keep(rows, forwards, extend, result.rows() < limit);
    if (!extend) {
        runStamp_ = stamp;
        (forwards ? runHasFirst_ : runHasLast_) = op == Op::First || op == Op::Last;
    }
    out = run_[static_cast<size_t>(at_)];
    return EngineStatus::success();
}

EngineStatus PgCursor::getNext(EngineRecord& out)
{
    return step(true, out);
}

EngineStatus PgCursor::getPrior(EngineRecord& out)
{
    return step(false, out);
}

EngineStatus PgCursor::step(bool forward, EngineRecord& out)
{
    const Place from = forward ? Place::Begin : Place::End;
    const Place beyond = forward ? Place::End : Place::Begin;
    const EngineCode offCode = forward ? EngineCode::EndOfData : EngineCode::BeginOfData;
    auto off = [&] {
        place_ = beyond;
        at_ = -1;
        return EngineStatus::failure(offCode, "");
    };
    if (place_ == beyond)
        return EngineStatus::failure(offCode, "");
    Op op = forward ? Op::First : Op::Last;
    int prefix = 0;
    if (place_ == from) {
        if ((forward ? runHasFirst_ : runHasLast_) && runCurrent()) {
            const int end = forward ? 0 : static_cast<int>(run_.size()) - 1;
            standAt(end);
            out = run_[end];
            return EngineStatus::success();
        }
    } else if (place_ == Place::Record) {
        switch (stepInRun(forward ? 1 : -1, out)) {
        case Step::Found:
            return EngineStatus::success();
        case Step::Off:
            return off();
        case Step::Unknown:
            break;
        }
        op = forward ? Op::Greater : Op::Less;
        prefix = order_->length();
    } else {
        // An inclusive crack stands before the records equal to its key:
        // forward reads them, backward the record before them.
        op = forward ? (inclusive_ ? Op::GreaterEqual : Op::Greater) : (inclusive_ ? Op::Less : Op::LessEqual);
        prefix = prefix_;
    }
    bool found = false;
    EngineStatus status = fetch(op, prefix, readAhead, out, found);
    if (!status.ok())
        return status;
    return found ? EngineStatus::success() : off();
}

EngineStatus PgCursor::getRecord(EngineRecord& out, Lock lock)
{
    if (place_ != Place::Record)
        return noCurrentRecord();
    if (lock == Lock::None) {
        // Just read with its neighbours, and nothing changed since; or read
        // anew as a run of one, which the next move extends.
        if (at_ < 0 || !runCurrent()) {
            EngineStatus status = standOnRecord(rowid_);
            if (status.code == EngineCode::RecordNotFound)
                return table_->failure(EngineCode::RecordGone, "Record was deleted by another user.");
            if (!status.ok())
                return status;
        }
        out = run_[static_cast<size_t>(at_)];
        return EngineStatus::success();
    }
    EngineStatus status = table_->lockAndRead(rowid_, this, scratch_);
    if (!status.ok()) {
        if (status.code == EngineCode::RecordNotFound)
            return table_->failure(EngineCode::RecordGone, "Record was deleted by another user.");
        return status;
    }
    if (locked_ != 0 && locked_ != rowid_)
        releaseHeldLock();
    locked_ = rowid_;
    lockedImage_ = scratch_;
    lockSession_ = table_->connection().session();
    // A record read anew that differs from the run's: the run is behind.
    if (at_ >= 0 && run_[static_cast<size_t>(at_)].values != scratch_.values)
        forgetRun();
    // Another session may have changed the key: follow the record.
    standOn(scratch_);
    out = scratch_;
    return EngineStatus::success();
}

EngineStatus PgCursor::setToBookmark(std::int64_t bookmark)
{
    if (standInRun(bookmark))
        return EngineStatus::success();
    return standOnRecord(bookmark);
}

EngineStatus PgCursor::setToRecord(const EngineRecord& record)
{
    // In the run its neighbours are known too: moves from it cost nothing.
    if (standInRun(record.bookmark))
        return EngineStatus::success();
    return KeysetCursor::setToRecord(record);
}

bool PgCursor::standInRun(std::int64_t bookmark)
{
    if (runCurrent())
        for (size_t i = 0; i < run_.size(); ++i)
            if (run_[i].bookmark == bookmark) {
                standAt(static_cast<int>(i));
                return true;
            }
    return false;
}

// Reads the record of bookmark and stands on it, a run of one.
EngineStatus PgCursor::standOnRecord(std::int64_t bookmark)
{
    std::uint64_t stamp = 0;
    EngineStatus status = table_->changeStamp(stamp);
    if (status.ok())
        status = table_->readRecord(bookmark, scratch_);
    // A bookmark comes from a record that was read: it is gone since.
    if (status.code == EngineCode::RecordNotFound)
        return table_->failure(EngineCode::RecordNotFound, "Record was deleted by another user.");
    if (!status.ok())
        return status;
    // A run of one: reading it again costs nothing.
    forgetRun();
    run_.push_back(scratch_);
    runStamp_ = stamp;
    standAt(0);
    return EngineStatus::success();
}

EngineStatus PgCursor::switchToIndex(const std::string& indexName, bool keepCurrent)
{
    bool keep = keepCurrent && place_ == Place::Record;
    std::int64_t rid = rowid_;
    // Values do not depend on the order: the current record's, when known,
    // start the run in the new order.
    bool known = keep && at_ >= 0 && runCurrent();
    EngineRecord current = known ? run_[static_cast<size_t>(at_)] : EngineRecord{};
    std::uint64_t stamp = runStamp_;
    EngineStatus status = follow(indexName);
    if (!status.ok())
        return status;
    place_ = Place::Begin;
    if (known) {
        run_.push_back(std::move(current));
        runStamp_ = stamp;
        standAt(0);
    } else if (keep && !standOnRecord(rid).ok()) {
        place_ = Place::Begin;  // gone since: the new order starts at its beginning
    }
    return EngineStatus::success();
}

EngineStatus PgCursor::failure(EngineCode code, const std::string& message) const
{
    return table_->failure(code, message);
}

EngineStatus PgCursor::seekEqual(int fieldCount, bool& found)
{
    return fetch(Op::Equal, fieldCount, readAhead, scratch_, found);
}

EngineStatus PgCursor::insertRecord(const EngineRecord& record)
{
    std::int64_t rid = 0;
    EngineStatus status = table_->insert(record, rid);
    if (!status.ok())
        return status;
    standOn(table_->storable(record), rid);
    at_ = -1;
    return EngineStatus::success();
}

EngineStatus PgCursor::modifyRecord(const EngineRecord& record)
{
    if (locked_ == 0)
        return table_->failure(EngineCode::NotLocked, "Record is not locked.");
    EngineStatus status = table_->connection().ensureOpen();
    if (!status.ok())
        return table_->withContext(status);
    if (lockSession_ != table_->connection().session())
        return lockAgain(record);
    status = table_->update(locked_, lockedImage_, record);
    if (!status.ok())
        return status;
    std::int64_t rid = locked_;
    releaseHeldLock();
    standOn(table_->storable(record), rid);
    at_ = -1;
    return EngineStatus::success();
}

// The server let go of the lock with the lost session, so another user may
// have stored the record meanwhile: it is locked and read again and the
// clerk told once, keeping what was typed. The next post stores it if the
// record is still as first read, and is refused as changed otherwise.
EngineStatus PgCursor::lockAgain(const EngineRecord& record)
{
    std::int64_t rid = locked_;
    EngineRecord stored;
    EngineStatus status = table_->lockAndRead(rid, this, stored);
    if (status.code == EngineCode::RecordNotFound) {
        locked_ = 0;
        lockedImage_ = EngineRecord{};
        return table_->failure(EngineCode::RecordDeleted, "Record was deleted by another user.");
    }
    if (!status.ok())
        return status;
    lockSession_ = table_->connection().session();
    std::vector<FieldValue> posted = table_->storable(record);
    if (stored.values == posted) {
        // The post sent before the loss was stored after all.
        releaseHeldLock();
        standOn(posted, rid);
        at_ = -1;
        return EngineStatus::success();
    }
    forgetRun();
    return table_->failure(EngineCode::IoError,
                           "The connection to the database server was lost while the record was edited.",
                           {stored.values == lockedImage_.values
                                ? "The record was read again and nobody changed it: post again to store the changes."
                                : "Another user changed the record meanwhile: cancel to see what is stored."});
}

void PgCursor::releaseHeldLock()
{
    if (locked_ != 0)
        table_->connection().unlock(table_->lockKey(locked_), this);
    locked_ = 0;
    lockedImage_ = EngineRecord{};
}

EngineStatus PgCursor::releaseLock()
{
    releaseHeldLock();
    return EngineStatus::success();
}

EngineStatus PgCursor::deleteRecord()
{
    if (place_ != Place::Record)
        return noCurrentRecord();
    // Nobody may delete a record another user is editing.
    std::int64_t key = table_->lockKey(rowid_);
    EngineStatus status = table_->connection().lock(key, this);
    if (!status.ok())
        return table_->withContext(status);
    status = table_->remove(rowid_);
    table_->connection().unlock(key, this);
    if (locked_ == rowid_) {
        locked_ = 0;
        lockedImage_ = EngineRecord{};
    }
    if (status.ok() || status.code == EngineCode::RecordGone) {
        standOnCrack(order_->length(), true);
    }
    return status;
}

EngineStatus PgCursor::recordCount(std::int64_t& out)
{
    return table_->count(out);
}

EngineStatus PgCursor::changeStamp(std::uint64_t& out)
{
    return table_->changeStamp(out);
}

EngineStatus PgCursor::cloneCursor(const std::string& indexName, std::unique_ptr<EngineCursor>& out)
{
    return open(table_, indexName, out);
}

EngineStatus PgCursor::findFiltered(const std::vector<int>& fieldNumbers, const std::vector<FieldValue>& values,
                                    EngineRecord& out)
{
    EngineStatus status = checkFilter(fieldNumbers, values);
    if (!status.ok())
        return status;
    return table_->findFiltered(fieldNumbers, values, *order_, out);
}

EngineStatus PgCursor::findPrefix(int fieldNumber, const std::string& prefix, EngineRecord& out)
{
    const TableDescription& table = description();
    if (fieldNumber < 0 || fieldNumber >= static_cast<int>(table.fields.size()))
        return table_->failure(EngineCode::NoSuchField, "No field number " + std::to_string(fieldNumber) + ".");
    int indexNumber = -1;
    for (size_t i = 0; i < table.indexes.size(); ++i) {
        const IndexDescription& index = table.indexes[i];
        if (index.expression || index.descending || index.fields.empty() ||
            table.fieldNumber(index.fields.front()) != fieldNumber)
            continue;
        if (indexNumber < 0 ||
            (index.caseInsensitive && !table.indexes[static_cast<size_t>(indexNumber)].caseInsensitive))
            indexNumber = static_cast<int>(i);
    }
    PgKeyOrder* ranged = nullptr;
    if (indexNumber < 0 || !table_->keyOrder(indexNumber, ranged).ok())
        return findPrefixUnindexed(fieldNumber, prefix, out);
    bool folded = table.indexes[static_cast<size_t>(indexNumber)].caseInsensitive;
    std::u32string points = UnicodeText::fromUtf8(prefix);
    size_t covered = 0;
    std::vector<std::string> spellings;
    // Undecodable text folds to U+FFFD, which no spelling seeks.
    if (points.find(UnicodeText::replacement) == std::u32string::npos)
        spellings = CaseVariants::spellings(prefix, folded, spellingLimit, covered);
    if (spellings.empty() || covered < points.size())
        return findPrefixUnindexed(fieldNumber, prefix, out);

    // Every text the index holds that begins, as it compares, with a spelling.
    std::vector<std::string> ranges;
    std::vector<FieldValue> parameters;
    const std::string element = ranged->element(0);
    for (const std::string& spelling : spellings) {
        ranges.push_back(prefixRange(element, folded ? asciiLower(spelling) : spelling, parameters));
    }
    const std::string select = "SELECT " + table_->selectList() + " FROM " + table_->qualifiedName();
    const std::string order = " ORDER BY " + order_->orderBy() + " LIMIT 1";
    std::vector<std::string> queries;
    if (indexNumber == indexNumber_) {
        // In the index's own order: the first row of each range, one index seek each.
        std::string firsts;
        for (const std::string& range : ranges)
            firsts += (firsts.empty() ? "(" : " UNION ALL (") + select + " WHERE " + range + order + ")";
        queries.push_back("SELECT * FROM (" + firsts + ") AS firsts" + order);
    } else {
        std::string any;
        for (const std::string& range : ranges)
            any += (any.empty() ? "" : " OR ") + range;
        queries.push_back("SELECT * FROM (" + select + " ORDER BY " + order_->orderBy() + " LIMIT " +
                          std::to_string(probeRows) + ") AS first_rows WHERE " + any + order);
        queries.push_back("WITH in_range AS MATERIALIZED (" + select + " WHERE " + any + ") SELECT * FROM in_range" +
                          order);
    }
    for (const std::string& sql : queries) {
        PgResult result;
        EngineStatus status = table_->connection().run(sql, parameters, result, "Cannot read the table.");
        if (!status.ok())
            return table_->withContext(status);
        if (result.rows() == 0)
            continue;
        table_->readRow(result, 0, out);
        if (!TextCompare::startsWithNoCase(out.values[static_cast<size_t>(fieldNumber)].value_or(std::string()),
                                           prefix))
            return EngineCursor::findPrefix(fieldNumber, prefix, out);  // folds otherwise than spelled
        return EngineStatus::success();
    }
    return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
}

EngineStatus PgCursor::findPrefixUnindexed(int fieldNumber, const std::string& prefix, EngineRecord& out)
{
    const FieldDescription& field = description().fields[static_cast<size_t>(fieldNumber)];
    std::u32string points = UnicodeText::fromUtf8(prefix);
    size_t covered = 0;
    std::vector<std::string> spellings;
    // Undecodable text folds to U+FFFD, which no spelling seeks.
    if (field.type == ColumnType::Text && points.find(UnicodeText::replacement) == std::u32string::npos)
        spellings = CaseVariants::spellings(prefix, true, spellingLimit, covered);
    if (spellings.empty() || covered < points.size())
        return EngineCursor::findPrefix(fieldNumber, prefix, out);
    // The server compares the folded text, as a case-insensitive index
    // would, and gives the first match in this cursor's order.
    const std::string element =
        table_->connection().schema() + ".arsipstaf_fold(" + PgConnection::quote(field.name) + ")";
    std::string any;
    std::vector<FieldValue> parameters;
    for (const std::string& spelling : spellings) {
        any += (any.empty() ? "" : " OR ") + prefixRange(element, asciiLower(spelling), parameters);
    }
    PgResult result;
    EngineStatus status =
        table_->connection().run("SELECT " + table_->selectList() + " FROM " + table_->qualifiedName() + " WHERE " +
                                     any + " ORDER BY " + order_->orderBy() + " LIMIT 1",
                                 parameters, result, "Cannot read the table.");
    if (!status.ok())
        return table_->withContext(status);
    if (result.rows() == 0)
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    table_->readRow(result, 0, out);
    if (!TextCompare::startsWithNoCase(out.values[static_cast<size_t>(fieldNumber)].value_or(std::string()), prefix))
        return EngineCursor::findPrefix(fieldNumber, prefix, out);  // folds otherwise than spelled
    return EngineStatus::success();
}

EngineStatus PgCursor::readHistory(const HistoryQuery& query, std::vector<HistoryRow>& out)
{
    return table_->readHistory(query, out);
}
