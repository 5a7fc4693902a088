#include "PgCursor.h"

#include "CaseVariants.h"
#include "SqliteTableFile.h"
#include "TextCompare.h"
#include "UnicodeText.h"

#include <algorithm>

namespace {

EngineStatus noCurrentRecord()
{
    return EngineStatus::failure(EngineCode::RecordNotFound, "No current record.");
}

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

} // namespace

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
    key_.assign(order_->columns().size(), std::string());
    kept_.clear();
    return EngineStatus::success();
}

const IndexDescription& PgCursor::currentIndex() const
{
    static const IndexDescription fileOrder;
    return indexNumber_ < 0 ? fileOrder : table_->description().indexes[static_cast<size_t>(indexNumber_)];
}

EngineStatus PgCursor::refreshDescription()
{
    std::string name = currentIndex().name;
    EngineStatus status = table_->refreshDescription();
    if (status.ok())
        status = follow(name);
    return status;
}

void PgCursor::standOn(const std::vector<FieldValue>& values, std::int64_t rid)
{
    const std::vector<int>& columns = order_->columns();
    for (size_t i = 0; i < columns.size(); ++i) {
        const FieldValue& value = values[static_cast<size_t>(columns[i])];
        key_[i] = value ? *value : std::string();
    }
    rid_ = rid;
    place_ = Place::Record;
}

EngineStatus PgCursor::fetch(Op op, int prefix, int limit, EngineRecord& out, bool& found)
{
    found = false;
    kept_.clear();
    // The stamp before the query: a notice that comes later drops what is kept.
    std::uint64_t stamp = 0;
    EngineStatus status = table_->changeStamp(stamp);
    if (!status.ok())
        return status;
    std::vector<FieldValue> parameters;
    if (op != Op::First && op != Op::Last) {
        int keyed = static_cast<int>(key_.size());
        for (int i = 0; i < prefix; ++i)
            parameters.emplace_back(i < keyed ? key_[static_cast<size_t>(i)] : std::to_string(rid_));
    }
    PgResult result;
    status = table_->connection().run(order_->sql(op, prefix, limit), parameters, result, "Cannot read the table.");
    if (!status.ok())
        return table_->withContext(status);
    if (result.rows() == 0)
        return EngineStatus::success();
    found = true;
    table_->readRow(result, 0, scratch_);
    standOn(scratch_);
    std::swap(out, scratch_);
    for (int row = 1; row < result.rows(); ++row) {
        kept_.emplace_back();
        table_->readRow(result, row, kept_.back());
    }
    keptForwards_ = op == Op::First || op == Op::Greater || op == Op::GreaterEqual;
    keptAfter_ = rid_;
    keptStamp_ = stamp;
    return EngineStatus::success();
}

bool PgCursor::takeKept(bool forwards, EngineRecord& out)
{
    if (kept_.empty())
        return false;
    std::uint64_t stamp = 0;
    bool good = keptForwards_ == forwards && place_ == Place::Record && rid_ == keptAfter_ &&
                table_->changeStamp(stamp).ok() && stamp == keptStamp_;
    if (!good) {
        kept_.clear();
        return false;
    }
    out = std::move(kept_.front());
    kept_.pop_front();
    standOn(out);
    keptAfter_ = rid_;
    return true;
}

EngineStatus PgCursor::setToBegin()
{
    place_ = Place::Begin;
    return EngineStatus::success();
}

EngineStatus PgCursor::setToEnd()
{
    place_ = Place::End;
    return EngineStatus::success();
}

EngineStatus PgCursor::getNext(EngineRecord& out)
{
    Op op = Op::First;
    int prefix = 0;
    switch (place_) {
    case Place::End: return EngineStatus::failure(EngineCode::EndOfData, "");
    case Place::Begin: break;
    case Place::Record:
        if (takeKept(true, out))
            return EngineStatus::success();
        op = Op::Greater;
        prefix = order_->length();
        break;
    case Place::Crack: op = inclusive_ ? Op::GreaterEqual : Op::Greater; prefix = prefix_; break;
    }
    bool found = false;
    EngineStatus status = fetch(op, prefix, readAhead, out, found);
    if (!status.ok())
        return status;
    if (!found) {
        place_ = Place::End;
        return EngineStatus::failure(EngineCode::EndOfData, "");
    }
    return EngineStatus::success();
}

EngineStatus PgCursor::getPrior(EngineRecord& out)
{
    Op op = Op::Last;
    int prefix = 0;
    switch (place_) {
    case Place::Begin: return EngineStatus::failure(EngineCode::BeginOfData, "");
    case Place::End: break;
    case Place::Record:
        if (takeKept(false, out))
            return EngineStatus::success();
        op = Op::Less;
        prefix = order_->length();
        break;
    case Place::Crack: op = inclusive_ ? Op::Less : Op::LessEqual; prefix = prefix_; break;
    }
    bool found = false;
    EngineStatus status = fetch(op, prefix, readAhead, out, found);
    if (!status.ok())
        return status;
    if (!found) {
        place_ = Place::Begin;
        return EngineStatus::failure(EngineCode::BeginOfData, "");
    }
    return EngineStatus::success();
}

EngineStatus PgCursor::getRecord(EngineRecord& out, Lock lock)
{
    if (place_ != Place::Record)
        return noCurrentRecord();
    EngineStatus status = lock == Lock::Write ? table_->lockAndRead(rid_, this, scratch_)
                                              : table_->readRecord(rid_, scratch_);
    if (!status.ok()) {
        if (status.code == EngineCode::RecordNotFound)
            return table_->failure(EngineCode::RecordGone, "Record was deleted by another user.");
        return status;
    }
    if (lock == Lock::Write) {
        if (locked_ != 0 && locked_ != rid_)
            releaseHeldLock();
        locked_ = rid_;
        lockedImage_ = scratch_;
    }
    // Another session may have changed the key: follow the record.
    standOn(scratch_);
    out = scratch_;
    return EngineStatus::success();
}

EngineStatus PgCursor::getBookmark(std::int64_t& out)
{
    if (place_ != Place::Record)
        return noCurrentRecord();
    out = rid_;
    return EngineStatus::success();
}

EngineStatus PgCursor::setToBookmark(std::int64_t bookmark)
{
    EngineStatus status = table_->readRecord(bookmark, scratch_);
    // A bookmark comes from a record that was read: it is gone since.
    if (status.code == EngineCode::RecordNotFound)
        return table_->failure(EngineCode::RecordNotFound, "Record was deleted by another user.");
    if (!status.ok())
        return status;
    standOn(scratch_);
    return EngineStatus::success();
}

EngineStatus PgCursor::setToCrackBefore(std::int64_t bookmark)
{
    EngineStatus status = setToBookmark(bookmark);
    if (!status.ok())
        return status;
    place_ = Place::Crack;
    prefix_ = order_->length();
    inclusive_ = true;
    return EngineStatus::success();
}

EngineStatus PgCursor::switchToIndex(const std::string& indexName, bool keepCurrent)
{
    bool keep = keepCurrent && place_ == Place::Record;
    std::int64_t rid = rid_;
    EngineStatus status = follow(indexName);
    if (!status.ok())
        return status;
    place_ = Place::Begin;
    if (keep && table_->readRecord(rid, scratch_).ok())
        standOn(scratch_);
    return EngineStatus::success();
}

EngineStatus PgCursor::extractKey(const EngineRecord& record, std::vector<FieldValue>& key)
{
    key.clear();
    const std::vector<int>& columns = order_->columns();
    for (int i = 0; i < order_->fieldCount(); ++i) {
        size_t column = static_cast<size_t>(columns[static_cast<size_t>(i)]);
        if (column >= record.values.size())
            return table_->failure(EngineCode::InvalidKey, "The record buffer has too few fields.");
        key.push_back(record.values[column]);
    }
    return EngineStatus::success();
}

EngineStatus PgCursor::findKey(const std::vector<FieldValue>& key, int fieldCount)
{
    if (fieldCount < 1 || fieldCount > order_->fieldCount() || fieldCount > static_cast<int>(key.size()))
        return table_->failure(EngineCode::InvalidKey,
                               "Invalid key: " + std::to_string(fieldCount) + " key fields.");
    std::vector<std::string> saved = key_;
    for (int i = 0; i < fieldCount; ++i)
        key_[static_cast<size_t>(i)] = key[static_cast<size_t>(i)].value_or(std::string());
    bool found = false;
    EngineStatus status = fetch(Op::Equal, fieldCount, 1, scratch_, found);
    if (!found) {
        key_ = std::move(saved);
        if (status.ok())
            status = EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    }
    return status;
}

EngineStatus PgCursor::setToKey(const std::vector<FieldValue>& key, int fieldCount, bool after)
{
    int count = std::min({fieldCount, order_->fieldCount(), static_cast<int>(key.size())});
    if (count <= 0)
        return setToBegin();
    for (int i = 0; i < count; ++i)
        key_[static_cast<size_t>(i)] = key[static_cast<size_t>(i)].value_or(std::string());
    place_ = Place::Crack;
    prefix_ = count;
    inclusive_ = !after;
    return EngineStatus::success();
}

EngineStatus PgCursor::initRecord(EngineRecord& out)
{
    const std::vector<FieldDescription>& fields = description().fields;
    out.values.assign(fields.size(), std::nullopt);
    out.bookmark = 0;
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].hasDefault)
            out.values[i] = fields[i].defaultValue;
    return EngineStatus::success();
}

EngineStatus PgCursor::putField(EngineRecord& record, int fieldNumber, const FieldValue& value)
{
    const std::vector<FieldDescription>& fields = description().fields;
    if (fieldNumber < 0 || fieldNumber >= static_cast<int>(fields.size()))
        return table_->failure(EngineCode::NoSuchField, "No field number " + std::to_string(fieldNumber) + ".");
    const FieldDescription& field = fields[static_cast<size_t>(fieldNumber)];
    record.values.resize(fields.size());
    FieldValue& slot = record.values[static_cast<size_t>(fieldNumber)];
    if (value && field.type == ColumnType::Text)
        slot = SqliteTableFile::cutToSize(*value, field.size);
    else
        slot = value;
    return EngineStatus::success();
}

EngineStatus PgCursor::insertRecord(const EngineRecord& record)
{
    std::int64_t rid = 0;
    EngineStatus status = table_->insert(record, rid);
    if (!status.ok())
        return status;
    standOn(table_->storable(record), rid);
    return EngineStatus::success();
}

EngineStatus PgCursor::modifyRecord(const EngineRecord& record)
{
    if (locked_ == 0)
        return table_->failure(EngineCode::NotLocked, "Record is not locked.");
    EngineStatus status = table_->update(locked_, lockedImage_, record);
    if (!status.ok())
        return status;
    std::int64_t rid = locked_;
    releaseHeldLock();
    standOn(table_->storable(record), rid);
    return EngineStatus::success();
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
    std::int64_t key = table_->lockKey(rid_);
    EngineStatus status = table_->connection().lock(key, this);
    if (!status.ok())
        return table_->withContext(status);
    status = table_->remove(rid_);
    table_->connection().unlock(key, this);
    if (locked_ == rid_) {
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
    const std::vector<FieldDescription>& fields = description().fields;
    if (fieldNumbers.size() != values.size())
        return table_->failure(EngineCode::InvalidKey, "Filter fields and values differ in number.");
    for (int number : fieldNumbers)
        if (number < 0 || number >= static_cast<int>(fields.size()))
            return table_->failure(EngineCode::NoSuchField, "No field number " + std::to_string(number) + ".");
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
        if (indexNumber < 0 || (index.caseInsensitive && !table.indexes[static_cast<size_t>(indexNumber)].caseInsensitive))
            indexNumber = static_cast<int>(i);
    }
    PgKeyOrder* ranged = nullptr;
    if (indexNumber < 0 || !table_->keyOrder(indexNumber, ranged).ok())
        return EngineCursor::findPrefix(fieldNumber, prefix, out);
    bool folded = table.indexes[static_cast<size_t>(indexNumber)].caseInsensitive;
    std::u32string points = UnicodeText::fromUtf8(prefix);
    size_t covered = 0;
    std::vector<std::string> spellings;
    // Undecodable text folds to U+FFFD, which no spelling seeks.
    if (points.find(UnicodeText::replacement) == std::u32string::npos)
        spellings = CaseVariants::spellings(prefix, folded, spellingLimit, covered);
    if (spellings.empty() || covered < points.size())
        return EngineCursor::findPrefix(fieldNumber, prefix, out);

    // Every text the index holds that begins, as it compares, with a spelling.
    std::vector<std::string> ranges;
    std::vector<FieldValue> parameters;
    const std::string element = ranged->element(0);
    for (const std::string& spelling : spellings) {
        std::string low = folded ? asciiLower(spelling) : spelling;
        std::string high = successor(low);
        parameters.emplace_back(low);
        std::string range = element + " >= $" + std::to_string(parameters.size());
        if (!high.empty()) {
            parameters.emplace_back(high);
            range += " AND " + element + " < $" + std::to_string(parameters.size());
        }
        ranges.push_back("(" + range + ")");
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
        queries.push_back("WITH in_range AS MATERIALIZED (" + select + " WHERE " + any +
                          ") SELECT * FROM in_range" + order);
    }
    for (const std::string& sql : queries) {
        PgResult result;
        EngineStatus status = table_->connection().run(sql, parameters, result, "Cannot read the table.");
        if (!status.ok())
            return table_->withContext(status);
        if (result.rows() == 0)
            continue;
        table_->readRow(result, 0, out);
        if (!TextCompare::startsWithNoCase(out.values[static_cast<size_t>(fieldNumber)].value_or(std::string()), prefix))
            return EngineCursor::findPrefix(fieldNumber, prefix, out);  // folds otherwise than spelled
        return EngineStatus::success();
    }
    return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
}
