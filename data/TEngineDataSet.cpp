#include "TEngineDataSet.h"

#include "EDBEngineError.h"
#include "EngineCursor.h"
#include "FieldNames.h"
#include "TField.h"
#include "TextCompare.h"
#include "UnicodeText.h"

namespace {

// The cache key of the key values: the one value itself, or all joined;
// \x1f never occurs in codes.
const std::string& cacheKey(const std::vector<FieldValue>& values, std::string& joined)
{
    if (values.size() == 1)
        return *values.front();
    joined.clear();
    for (const FieldValue& value : values)
        joined += '\x1f' + *value;
    return joined;
}

bool missing(const EngineStatus& status)
{
    return status.code == EngineCode::RecordNotFound || status.code == EngineCode::RecordGone;
}

}  // namespace

void TEngineDataSet::Check(const EngineStatus& status)
{
    if (!status.ok())
        throw EDBEngineError(status);
}

void TEngineDataSet::InternalClose()
{
    searchCursor_.reset();
    searchIndex_.clear();
    lookupCache_ = {};
    cursor_.reset();
}

void TEngineDataSet::InternalFirst()
{
    Check(cursor_->setToBegin());
}

void TEngineDataSet::InternalLast()
{
    Check(cursor_->setToEnd());
}

bool TEngineDataSet::InternalNext(RecordBuffer& buffer)
{
    EngineStatus status = cursor_->getNext(buffer.record);
    if (status.endOfData())
        return false;
    Check(status);
    return true;
}

bool TEngineDataSet::InternalPrior(RecordBuffer& buffer)
{
    EngineStatus status = cursor_->getPrior(buffer.record);
    if (status.endOfData())
        return false;
    Check(status);
    return true;
}

std::vector<RecordBuffer> TEngineDataSet::InternalRun(bool forward, int count)
{
    std::vector<EngineRecord> records;
    Check(forward ? cursor_->getNextRecords(count, records) : cursor_->getPriorRecords(count, records));
    return Buffers(std::move(records));
}

bool TEngineDataSet::InternalCurrent(RecordBuffer& buffer, bool lock)
{
    EngineStatus status =
        cursor_->getRecord(buffer.record, lock ? EngineCursor::Lock::Write : EngineCursor::Lock::None);
    if (!lock && (missing(status) || status.endOfData()))
        return false;
    Check(status);
    return true;
}

bool TEngineDataSet::InternalGotoBuffer(const RecordBuffer& buffer)
{
    EngineStatus status = cursor_->setToBookmark(buffer.record.bookmark);
    if (missing(status)) {
        StandWhere(buffer.record);
        return false;
    }
    Check(status);
    return true;
}

void TEngineDataSet::InternalStandOn(const RecordBuffer& buffer)
{
    Check(cursor_->setToRecord(buffer.record));
}

void TEngineDataSet::InternalAround(const RecordBuffer& anchor, int before, int after, std::vector<RecordBuffer>& above,
                                    std::vector<RecordBuffer>& below)
{
    std::vector<EngineRecord> first;
    std::vector<EngineRecord> last;
    Check(cursor_->getRecordsAround(anchor.record, before, after, first, last));
    above = Buffers(std::move(first));
    below = Buffers(std::move(last));
}

std::vector<RecordBuffer> TEngineDataSet::Buffers(std::vector<EngineRecord> records)
{
    std::vector<RecordBuffer> buffers(records.size());
    for (size_t i = 0; i < records.size(); ++i)
        buffers[i].record = std::move(records[i]);
    return buffers;
}

void TEngineDataSet::InternalLockBuffer(RecordBuffer& buffer, bool standing)
{
    EngineStatus status = standing ? EngineStatus::success() : cursor_->setToBookmark(buffer.record.bookmark);
    if (status.ok())
        status = cursor_->getRecord(buffer.record, EngineCursor::Lock::Write);
    if (missing(status))
        StandWhere(buffer.record);
    Check(status);
}

// Between the neighbours of a record that is gone: on the crack before the
// first record whose key is not less than its key.
void TEngineDataSet::StandWhere(const EngineRecord& record)
{
    std::vector<FieldValue> key;
    if (record.values.empty() || !cursor_->extractKey(record, key).ok() || key.empty())
        return;
    Check(cursor_->setToKey(key, static_cast<int>(key.size()), false));
}

void TEngineDataSet::InternalSetToCrack(const RecordBuffer* before)
{
    Check(before ? cursor_->setToCrackBefore(before->record.bookmark) : cursor_->setToEnd());
}

void TEngineDataSet::InternalInitRecord(RecordBuffer& buffer)
{
    Check(cursor_->initRecord(buffer.record));
}

void TEngineDataSet::InternalPutValue(RecordBuffer& buffer, const TField& field, const FieldValue& value)
{
    Check(cursor_->putField(buffer.record, field.FieldNo(), value));
}

void TEngineDataSet::InternalPost(RecordBuffer& buffer, bool inserting)
{
    EngineStatus status = inserting ? cursor_->insertRecord(buffer.record) : cursor_->modifyRecord(buffer.record);
    if (status.code == EngineCode::KeyViolation)
        status.stack = {KeyInUse()};
    Check(status);
}

// The details of a key violation for the clerk: the key's fields and the
// values typed, not the engine's own wording (which names its columns and
// files). Only the primary indexes of our tables are unique.
std::string TEngineDataSet::KeyInUse()
{
    std::string key;
    for (const IndexDescription& index : cursor_->description().indexes) {
        if (!index.primary)
            continue;
        for (const std::string& name : index.fields) {
            const TField* field = FindField(name);
            key += (key.empty() ? "" : ", ") + name + " " + (field ? field->AsString() : std::string());
        }
    }
    return key.empty() ? "A record with the same key already exists." : "A record with " + key + " already exists.";
}

void TEngineDataSet::InternalCancel()
{
    Check(cursor_->releaseLock());
}

void TEngineDataSet::InternalDelete()
{
    EngineStatus status = cursor_->deleteRecord();
    if (status.code == EngineCode::RecordGone)
        return;
    Check(status);
}

int TEngineDataSet::RecordCount()
{
    if (!cursor_)
        return 0;
    std::int64_t count = 0;
    Check(cursor_->recordCount(count));
    return static_cast<int>(count);
}

namespace {

// Reads ahead in runs: one statement, and so one read transaction and one
// consistent view of the table, for a run of records (some sixteen pages of
// a report), where a step per record would pay a transaction each.
class CursorReader : public RecordReader {
public:
    static constexpr int RunLength = 256;

    explicit CursorReader(std::unique_ptr<EngineCursor> cursor) : cursor_(std::move(cursor)) {}
    bool Next(EngineRecord& out) override
    {
        if (next_ == run_.size()) {
            if (ended_)
                return false;
            Check(cursor_->getNextRecords(RunLength, run_));
            next_ = 0;
            ended_ = run_.size() < static_cast<size_t>(RunLength);
            if (run_.empty())
                return false;
        }
        // the record read before goes back into the run, whose next read refills it
        std::swap(out, run_[next_++]);
        return true;
    }

private:
    static void Check(const EngineStatus& status)
    {
        if (!status.ok())
            throw EDBEngineError(status);
    }

    std::unique_ptr<EngineCursor> cursor_;
    std::vector<EngineRecord> run_;
    size_t next_ = 0;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<RecordReader> TEngineDataSet::OpenReader()
{
    if (!cursor_)
        return nullptr;
    std::unique_ptr<EngineCursor> clone;
    Check(cursor_->cloneCursor(cursor_->currentIndex().name, clone));
    Check(clone->setToBegin());
    return std::make_unique<CursorReader>(std::move(clone));
}

EngineCursor& TEngineDataSet::SearchCursor(const std::string& fieldName, bool& indexed)
{
    std::string indexName;
    indexed = false;
    for (const IndexDescription& index : cursor_->description().indexes) {
        if (index.expression || index.descending || index.caseInsensitive || index.fields.empty())
            continue;
        if (TextCompare::equalNoCase(index.fields.front(), fieldName)) {
            indexName = index.name;
            indexed = true;
            break;
        }
    }
    return CursorOn(indexName);
}

EngineCursor& TEngineDataSet::CursorOn(const std::string& indexName)
{
    if (!searchCursor_ || searchIndex_ != indexName) {
        searchCursor_.reset();
        Check(cursor_->cloneCursor(indexName, searchCursor_));
        searchIndex_ = indexName;
    }
    return *searchCursor_;
}

TEngineDataSet::LookupAnswers& TEngineDataSet::AnswersFor(const std::string& keyFields, const std::string& resultField)
{
    for (LookupAnswers& kind : lookupCache_.kinds)
        if (kind.keyFields == keyFields && kind.resultField == resultField)
            return kind;
    lookupCache_.kinds.push_back({keyFields, resultField, {}});
    return lookupCache_.kinds.back();
}

FieldValue TEngineDataSet::Lookup(const std::string& keyFields, const std::vector<FieldValue>& keyValues,
                                  const std::string& resultField)
{
    // In browse state there is no edit to end.
    if (State() != TDataSetState::dsBrowse)
        CheckBrowseMode();
    for (const FieldValue& value : keyValues)
        if (!value)
            return std::nullopt;  // null equals nothing
    std::uint64_t stamp = 0;
    Check(cursor_->changeStamp(stamp));
    if (stamp != lookupCache_.stamp || lookupCache_.size >= lookupCacheLimit) {
        lookupCache_.kinds.clear();
        lookupCache_.size = 0;
        lookupCache_.stamp = stamp;
    }
    LookupAnswers& answers = AnswersFor(keyFields, resultField);
    std::string joined;
    const std::string& key = cacheKey(keyValues, joined);
    auto cached = answers.byKey.find(key);
    if (cached != answers.byKey.end())
        return cached->second;
    std::vector<std::string> names = FieldNames::split(keyFields);
    if (names.empty() || names.size() != keyValues.size())
        return std::nullopt;
    FieldValue answer = SearchLookup(names, keyValues, resultField);
    answers.byKey.emplace(key, answer);
    ++lookupCache_.size;
    return answer;
}

FieldValue TEngineDataSet::SearchLookup(const std::vector<std::string>& names, const std::vector<FieldValue>& keyValues,
                                        const std::string& resultField)
{
    const TableDescription& table = cursor_->description();
    std::vector<int> columns;
    for (const std::string& name : names) {
        int column = table.fieldNumber(name);
        if (column < 0)
            Fail("Field '" + name + "' not found");
        columns.push_back(column);
    }
    int result = table.fieldNumber(resultField);
    if (result < 0)
        Fail("Field '" + resultField + "' not found");

    bool indexed = false;
    EngineCursor& search = SearchCursor(names.front(), indexed);
    EngineRecord record;
    EngineStatus status;
    if (indexed && columns.size() == 1) {
        status = search.findKey(keyValues, 1);
        if (status.ok())
            status = search.getRecord(record);
    } else {
        TemporaryState filtering(*this, TDataSetState::dsFilter);
        status = search.findFiltered(columns, keyValues, record);
    }
    if (missing(status) || status.endOfData())
        return std::nullopt;
    Check(status);
    return record.values[result];
}

bool TEngineDataSet::Locate(const std::string& fieldName, const std::string& value, bool partial)
{
    CheckBrowseMode();
    TField* field = FieldByName(fieldName);
    int column = field->FieldNo();
    if (column < 0)
        return false;
    // Stored text is never longer than its field: a longer one matches nothing.
    if (field->Size() > 0 && UnicodeText::leftUtf8(value, static_cast<size_t>(field->Size())).size() < value.size())
        return false;
    // Same ordering as the dataset, so "first" means first as the user sees it.
    EngineCursor& scan = CursorOn(cursor_->currentIndex().name);
    int before = 0;
    int after = 0;
    WindowSides(ResyncMode::Center, before, after);
    EngineRecord record;
    std::vector<EngineRecord> above;
    std::vector<EngineRecord> below;
    EngineStatus status;
    if (!partial)
        status = scan.findFiltered({column}, {FieldValue(value)}, record);
    else
        status = scan.findPrefix(column, value, record);
    if (status.ok())
        status = scan.getRecordsAround(record, before, after, above, below);
    if (missing(status) || status.endOfData())
        return false;
    Check(status);
    Check(cursor_->setToRecord(record));
    RecordBuffer found;
    found.record = std::move(record);
    ShowAround(std::move(found), Buffers(std::move(above)), Buffers(std::move(below)), after);
    return true;
}

std::vector<HistoryRow> TEngineDataSet::History(const HistoryQuery& query)
{
    std::vector<HistoryRow> rows;
    if (cursor_)
        Check(cursor_->readHistory(query, rows));
    return rows;
}
