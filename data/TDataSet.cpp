#include "TDataSet.h"

#include "EDatabaseError.h"
#include "TDataSource.h"
#include "UnicodeText.h"

#include <algorithm>
#include <strings.h>
#include <utility>

TDataSet::TemporaryState::TemporaryState(TDataSet& dataSet, TDataSetState state)
    : dataSet_(dataSet), saved_(dataSet.state_)
{
    dataSet_.state_ = state;
    ++dataSet_.disableNotify_;
}

TDataSet::TemporaryState::~TemporaryState()
{
    dataSet_.state_ = saved_;
    --dataSet_.disableNotify_;
}

TDataSet::TDataSet(std::string name) : name_(std::move(name))
{
}

TDataSet::~TDataSet()
{
    // The storage of subclasses is gone by now: nothing may reach it while
    // the data sources let go.
    state_ = TDataSetState::dsInactive;
    recordCount_ = 0;
    for (TDataSource* source : std::vector<TDataSource*>(sources_))
        source->SetDataSet(nullptr);
}

std::string TDataSet::Prefixed(const std::string& message) const
{
    return name_.empty() ? message : name_ + ": " + message;
}

void TDataSet::Fail(const std::string& message) const
{
    throw EDatabaseError(Prefixed(message));
}

void TDataSet::CheckActive() const
{
    if (state_ == TDataSetState::dsInactive)
        Fail("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckCanModify() const
{
    if (!CanModify())
        Fail("Cannot modify a read-only dataset");
}

// --- opening ---------------------------------------------------------------

void TDataSet::Open()
{
    if (Active())
        return;
    lookupKeys_.clear();  // fields may be made anew
    InternalOpen();
    UpdateBufferCount();
    ClearWindow();
    InternalFirst();
    FillForward(0);
    bof_ = true;
    eof_ = recordCount_ == 0;
    SetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::Close()
{
    if (!Active())
        return;
    if (state_ == TDataSetState::dsEdit)
        InternalCancel();
    InternalClose();
    ClearWindow();
    SetState(TDataSetState::dsInactive);
}

// --- fields ----------------------------------------------------------------

TField* TDataSet::FindField(const std::string& name) const
{
    for (const auto& field : fields_)
        if (strcasecmp(field->FieldName().c_str(), name.c_str()) == 0)
            return field.get();
    return nullptr;
}

TField* TDataSet::FieldByName(const std::string& name) const
{
    TField* field = FindField(name);
    if (!field)
        Fail("Field '" + name + "' not found");
    return field;
}

TField* TDataSet::AddField(std::unique_ptr<TField> field)
{
    fields_.push_back(std::move(field));
    return fields_.back().get();
}

int TDataSet::LookupIndex(const TField& field) const
{
    int index = 0;
    for (const auto& candidate : fields_) {
        if (candidate.get() == &field)
            return index;
        if (candidate->IsLookup())
            ++index;
    }
    return -1;
}

const RecordBuffer* TDataSet::RowBuffer() const
{
    if (selectedBuffer_)
        return selectedBuffer_;
    if (selectedRow_ >= 0)
        return selectedRow_ < recordCount_ ? &buffers_[selectedRow_] : nullptr;
    if (recordCount_ == 0)
        return nullptr;
    return &buffers_[activeRecord_];
}

FieldValue TDataSet::FieldValueOf(const TField& field)
{
    const RecordBuffer* buffer = state_ == TDataSetState::dsSetKey && keyBuffer_ ? keyBuffer_ : RowBuffer();
    if (!buffer)
        return std::nullopt;
    if (field.IsLookup()) {
        // Only window rows are ever due, and the window is ours.
        if (buffer->lookupsDue)
            CalculateFields(const_cast<RecordBuffer&>(*buffer));
        int index = LookupIndex(field);
        return index >= 0 && index < static_cast<int>(buffer->lookups.size()) ? buffer->lookups[index] : std::nullopt;
    }
    int column = field.FieldNo();
    if (column < 0 || column >= static_cast<int>(buffer->record.values.size()))
        return std::nullopt;
    return buffer->record.values[column];
}

void TDataSet::SetFieldValue(TField& field, const FieldValue& value)
{
    bool keyState = state_ == TDataSetState::dsSetKey;
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert && !keyState)
        Fail("Dataset not in edit or insert mode");
    if (keyState && !IsIndexField(field))
        throw EDatabaseError("Field '" + field.Label() + "' is not indexed and cannot be modified");
    if (field.ReadOnly || field.IsLookup() || field.FieldNo() < 0)
        throw EDatabaseError("Field '" + field.Label() + "' cannot be modified");
    RecordBuffer& buffer = keyState && keyBuffer_ ? *keyBuffer_ : ActiveBuffer();
    InternalPutValue(buffer, field, value);
    DataEvent(TDataEvent::deFieldChange, reinterpret_cast<std::intptr_t>(&field));
}

void TDataSet::DeferLookups(RecordBuffer& buffer)
{
    buffer.lookups.clear();
    buffer.lookupsDue = true;
}

// The slots of the buffer's earlier record are overwritten in place: a
// report reads every record through one buffer.
void TDataSet::CalculateFields(RecordBuffer& buffer)
{
    buffer.lookupsDue = false;
    std::optional<TemporaryState> calculating;
    size_t index = 0;
    try {
        calculateLookups(buffer, calculating, index);
    } catch (...) {
        // what was not calculated is not left from the earlier record
        for (size_t i = index > 0 ? index - 1 : 0; i < buffer.lookups.size(); ++i)
            buffer.lookups[i].reset();
        throw;
    }
    buffer.lookups.resize(index);
}

void TDataSet::calculateLookups(RecordBuffer& buffer, std::optional<TemporaryState>& calculating, size_t& index)
{
    for (const auto& field : fields_) {
        if (!field->IsLookup())
            continue;
        if (!calculating)
            calculating.emplace(*this, TDataSetState::dsCalcFields);
        if (lookupKeys_.size() <= index)
            lookupKeys_.resize(index + 1);
        LookupKey& known = lookupKeys_[index];
        if (known.lookup != field.get() || known.names != field->KeyFields)
            known = {field.get(), field->KeyFields, FindField(field->KeyFields)};
        if (buffer.lookups.size() <= index)
            buffer.lookups.emplace_back();
        FieldValue& result = buffer.lookups[index++];
        TField* key = known.key;
        if (!key || key->FieldNo() < 0 || !field->LookupDataSet || !field->LookupDataSet->Active()) {
            result.reset();
            continue;
        }
        lookupValues_.resize(1);
        lookupValues_.front() = buffer.record.values[key->FieldNo()];
        result = field->LookupDataSet->Lookup(field->LookupKeyFields, lookupValues_, field->LookupResultField);
        // no more characters than bytes: a text within the size in bytes is within it
        if (result && result->size() > static_cast<size_t>(field->Size()))
            result = UnicodeText::leftUtf8(*result, static_cast<size_t>(field->Size()));
    }
}

// --- notifications -----------------------------------------------------------

void TDataSet::AttachDataSource(TDataSource* source)
{
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end())
        sources_.push_back(source);
    UpdateBufferCount();
}

void TDataSet::DetachDataSource(TDataSource* source)
{
    sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
    UpdateBufferCount();
}

void TDataSet::SetState(TDataSetState state)
{
    if (state_ == state)
        return;
    state_ = state;
    modified_ = false;
    DataEvent(TDataEvent::deUpdateState);
}

void TDataSet::DataEvent(TDataEvent event, std::intptr_t info)
{
    if (event == TDataEvent::deFieldChange) {
        auto* field = reinterpret_cast<TField*>(info);
        if (!field->IsLookup() && (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert))
            modified_ = true;
        if (state_ != TDataSetState::dsSetKey) {
            DeferLookups(ActiveBuffer());
            if (field->OnChange)
                field->OnChange(*field);
        }
    }
    if (disableNotify_ == 0)
        NotifySources(event, info);
}

void TDataSet::NotifySources(TDataEvent event, std::intptr_t info)
{
    for (TDataSource* source : std::vector<TDataSource*>(sources_))
        source->DataEvent(event, info);
}

// --- the record window ---------------------------------------------------------

void TDataSet::UpdateBufferCount()
{
    int demand = 1;
    for (TDataSource* source : sources_)
        demand = std::max(demand, source->LinkBufferDemand());
    if (demand == BufferCount())
        return;
    while (recordCount_ > demand) {
        if (activeRecord_ < recordCount_ - 1) {
            --recordCount_;
        } else {
            buffers_.erase(buffers_.begin());
            --recordCount_;
            --activeRecord_;
        }
    }
    buffers_.resize(demand);
    cursorRow_ = -1;
    if (Active() && recordCount_ > 0) {
        FetchMore();
        DataEvent(TDataEvent::deDataSetChange);
    }
}

// Grows a partly filled window: following records below the last row, then
// prior records above the first. Rows of unstored records are left alone.
void TDataSet::FetchMore()
{
    const RecordBuffer& last = buffers_[recordCount_ - 1];
    if (recordCount_ < BufferCount() && last.record.bookmark != 0 && InternalGotoBuffer(last)) {
        for (RecordBuffer& row : FetchRun(true, BufferCount() - recordCount_))
            buffers_[recordCount_++] = std::move(row);
        if (recordCount_ < BufferCount())
            eof_ = eof_ || activeRecord_ == recordCount_ - 1;
    }
    const RecordBuffer& first = buffers_[0];
    if (recordCount_ < BufferCount() && first.record.bookmark != 0 && InternalGotoBuffer(first)) {
        std::vector<RecordBuffer> above = FetchRun(false, BufferCount() - recordCount_);
        int added = static_cast<int>(above.size());
        if (added > 0) {
            std::move_backward(buffers_.begin(), buffers_.begin() + recordCount_,
                               buffers_.begin() + recordCount_ + added);
            std::move(above.rbegin(), above.rend(), buffers_.begin());
            recordCount_ += added;
            activeRecord_ += added;
        }
    }
    cursorRow_ = -1;
}

bool TDataSet::ReadRecord(RecordReader& reader, RecordBuffer& buffer)
{
    if (!reader.Next(buffer.record))
        return false;
    CalculateFields(buffer);
    return true;
}

const RecordBuffer* TDataSet::SelectBuffer(const RecordBuffer* buffer)
{
    return std::exchange(selectedBuffer_, buffer);
}

int TDataSet::SelectRow(int row)
{
    int previous = selectedRow_;
    selectedRow_ = row;
    return previous;
}

std::int64_t TDataSet::Bookmark() const
{
    const RecordBuffer* buffer = RowBuffer();
    return buffer ? buffer->record.bookmark : 0;
}

bool TDataSet::GotoBookmark(std::int64_t bookmark)
{
    CheckBrowseMode();
    RecordBuffer target;
    target.record.bookmark = bookmark;
    if (bookmark == 0 || !InternalGotoBuffer(target)) {
        cursorRow_ = -1;
        SyncCursor();
        return false;
    }
    Resync(ResyncMode::Center);
    return true;
}

void TDataSet::ClearWindow()
{
    recordCount_ = 0;
    activeRecord_ = 0;
    cursorRow_ = -1;
}

// Fetches following records into rows from..end; the cursor is already
// placed before the first of them.
void TDataSet::FillForward(int from)
{
    recordCount_ = from;
    cursorRow_ = -1;
    for (RecordBuffer& row : FetchRun(true, BufferCount() - from)) {
        buffers_[recordCount_] = std::move(row);
        cursorRow_ = recordCount_++;
    }
}

std::vector<RecordBuffer> TDataSet::InternalRun(bool forward, int count)
{
    std::vector<RecordBuffer> run;
    RecordBuffer buffer;
    while (static_cast<int>(run.size()) < count && (forward ? InternalNext(buffer) : InternalPrior(buffer)))
        run.push_back(buffer);
    return run;
}

std::vector<RecordBuffer> TDataSet::FetchRun(bool forward, int count)
{
    std::vector<RecordBuffer> run = count > 0 ? InternalRun(forward, count) : std::vector<RecordBuffer>();
    for (RecordBuffer& row : run)
        DeferLookups(row);
    return run;
}

// Fetches up to rows prior records, placed in order at the top of the
// window; the cursor is already placed after the last of them.
int TDataSet::FillBackward(int rows)
{
    std::vector<RecordBuffer> fetched = FetchRun(false, rows);
    std::reverse(fetched.begin(), fetched.end());
    for (size_t i = 0; i < fetched.size(); ++i)
        buffers_[i] = std::move(fetched[i]);
    recordCount_ = static_cast<int>(fetched.size());
    cursorRow_ = recordCount_ > 0 ? 0 : -1;
    return recordCount_;
}

void TDataSet::SyncCursor()
{
    if (recordCount_ == 0 || cursorRow_ == activeRecord_ || ActiveBuffer().record.bookmark == 0)
        return;
    if (!InternalGotoBuffer(ActiveBuffer())) {
        // Gone behind our back (another process): rebuild around its place.
        Resync(ResyncMode::KeepRow);
        if (recordCount_ > 0 && !InternalGotoBuffer(ActiveBuffer()))
            Fail("Record not found");
    }
    cursorRow_ = activeRecord_;
}

void TDataSet::Resync(ResyncMode mode, bool exact)
{
    RecordBuffer anchor;
    bool found = InternalCurrent(anchor, false);
    if (exact && !found)
        Fail("Record not found");
    if (!found)
        found = InternalNext(anchor) || InternalPrior(anchor);
    if (!found) {
        ClearWindow();
        bof_ = eof_ = true;
        DataEvent(TDataEvent::deDataSetChange);
        return;
    }
    ResyncAround(std::move(anchor), mode);
}

void TDataSet::ResyncAround(RecordBuffer anchor, ResyncMode mode)
{
    int before = 0;
    int after = 0;
    WindowSides(mode, before, after);
    std::vector<RecordBuffer> above;
    std::vector<RecordBuffer> below;
    InternalAround(anchor, before, after, above, below);
    ShowAround(std::move(anchor), std::move(above), std::move(below), after, mode == ResyncMode::KeepRow);
}

void TDataSet::WindowSides(ResyncMode mode, int& before, int& after) const
{
    int rows = BufferCount();
    before = mode == ResyncMode::Center ? (rows - 1) / 2 : std::min(activeRecord_, rows - 1);
    after = rows - 1 - before;
}

void TDataSet::ShowAround(RecordBuffer anchor, std::vector<RecordBuffer> above, std::vector<RecordBuffer> below,
                          int after, bool fillAbove)
{
    // Near the top, the rows the top lacks are taken from below.
    int room = BufferCount() - 1 - static_cast<int>(above.size());
    if (static_cast<int>(below.size()) == after && room > after) {
        InternalStandOn(below.empty() ? anchor : below.back());
        for (RecordBuffer& row : InternalRun(true, room - after))
            below.push_back(std::move(row));
        InternalStandOn(anchor);
    }
    // Near the bottom, the rows the bottom lacks are taken from above.
    const int lack = BufferCount() - 1 - static_cast<int>(above.size() + below.size());
    if (fillAbove && lack > 0 && static_cast<int>(below.size()) < after) {
        InternalStandOn(above.empty() ? anchor : above.back());
        for (RecordBuffer& row : InternalRun(false, lack))
            above.push_back(std::move(row));
        InternalStandOn(anchor);
    }
    DeferLookups(anchor);
    for (RecordBuffer& row : above)
        DeferLookups(row);
    for (RecordBuffer& row : below)
        DeferLookups(row);
    std::reverse(above.begin(), above.end());
    recordCount_ = 0;
    for (auto& row : above)
        buffers_[recordCount_++] = std::move(row);
    activeRecord_ = recordCount_;
    buffers_[recordCount_++] = std::move(anchor);
    for (auto& row : below)
        buffers_[recordCount_++] = std::move(row);
    // The cursor stands on the record: the next move starts from there unread.
    cursorRow_ = activeRecord_;
    bof_ = eof_ = false;
    DataEvent(TDataEvent::deDataSetChange);
}

// --- movement ------------------------------------------------------------------

void TDataSet::First()
{
    CheckBrowseMode();
    ClearWindow();
    InternalFirst();
    FillForward(0);
    bof_ = true;
    eof_ = recordCount_ == 0;
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    ClearWindow();
    InternalLast();
    int rows = FillBackward(BufferCount());
    activeRecord_ = std::max(0, rows - 1);
    eof_ = true;
    bof_ = rows == 0;
    DataEvent(TDataEvent::deDataSetChange);
}

// One step forward; at the bottom edge the window fetches the next record.
// Returns 0 when there is none.
int TDataSet::StepForward(int& scrolled)
{
    if (activeRecord_ < recordCount_ - 1) {
        ++activeRecord_;
        return 1;
    }
    SyncCursor();
    RecordBuffer buffer;
    if (!InternalNext(buffer)) {
        cursorRow_ = -1;
        return 0;
    }
    DeferLookups(buffer);
    if (recordCount_ < BufferCount()) {
        buffers_[recordCount_++] = std::move(buffer);
    } else {
        std::rotate(buffers_.begin(), buffers_.begin() + 1, buffers_.end());
        buffers_.back() = std::move(buffer);
        ++scrolled;
    }
    activeRecord_ = recordCount_ - 1;
    cursorRow_ = activeRecord_;
    return 1;
}

int TDataSet::StepBackward(int& scrolled)
{
    if (activeRecord_ > 0) {
        --activeRecord_;
        return 1;
    }
    SyncCursor();
    RecordBuffer buffer;
    if (!InternalPrior(buffer)) {
        cursorRow_ = -1;
        return 0;
    }
    DeferLookups(buffer);
    if (recordCount_ < BufferCount())
        ++recordCount_;
    else
        --scrolled;
    std::rotate(buffers_.begin(), buffers_.begin() + recordCount_ - 1, buffers_.begin() + recordCount_);
    buffers_[0] = std::move(buffer);
    activeRecord_ = 0;
    cursorRow_ = 0;
    return 1;
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    if ((distance > 0 && eof_) || (distance < 0 && bof_) || distance == 0)
        return 0;
    bof_ = eof_ = false;
    int oldCount = recordCount_;
    int scrolled = 0;
    int moved = 0;
    if (distance > 0) {
        while (moved < distance && StepForward(scrolled))
            ++moved;
        eof_ = moved < distance;
    } else {
        // Negated in a wider type: the distance may be INT_MIN.
        const long long back = -static_cast<long long>(distance);
        while (moved < back && StepBackward(scrolled))
            ++moved;
        bof_ = moved < back;
        moved = -moved;
    }
    if (recordCount_ == oldCount)
        DataEvent(TDataEvent::deDataSetScroll, scrolled);
    else
        DataEvent(TDataEvent::deDataSetChange);
    return moved;
}

// --- editing -------------------------------------------------------------------

void TDataSet::Refresh()
{
    CheckBrowseMode();
    SyncCursor();
    Resync(ResyncMode::KeepRow);
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(TDataEvent::deCheckBrowseMode);
    switch (state_) {
    case TDataSetState::dsEdit:
    case TDataSetState::dsInsert:
        UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
        break;
    case TDataSetState::dsSetKey:
        SetState(TDataSetState::dsBrowse);
        break;
    default:
        break;
    }
}

void TDataSet::Edit()
{
    if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert)
        return;
    if (recordCount_ == 0) {
        Insert();
        return;
    }
    CheckBrowseMode();
    CheckCanModify();
    LockActiveRecord();
    DeferLookups(ActiveBuffer());
    SetState(TDataSetState::dsEdit);
    DataEvent(TDataEvent::deRecordChange);
}

// The record locked must be the one shown: when another user deleted it,
// its neighbour is not edited in its place; the window is re-read and the
// storage's error raised, the dataset staying in browse state.
void TDataSet::LockActiveRecord()
{
    try {
        InternalLockBuffer(ActiveBuffer(), cursorRow_ == activeRecord_);
    } catch (const EDatabaseError&) {
        cursorRow_ = -1;
        Resync(ResyncMode::KeepRow);
        throw;
    }
    cursorRow_ = activeRecord_;
}

void TDataSet::Insert()
{
    BeginNewRecord(false);
}

void TDataSet::Append()
{
    BeginNewRecord(true);
}

void TDataSet::BeginNewRecord(bool append)
{
    CheckBrowseMode();
    CheckCanModify();
    if (append) {
        ClearWindow();
        InternalLast();
        int rows = FillBackward(BufferCount() - 1);
        recordCount_ = rows + 1;
        activeRecord_ = rows;
        InternalSetToCrack(nullptr);
        bof_ = false;
        eof_ = true;
    } else if (recordCount_ == 0) {
        ClearWindow();
        recordCount_ = 1;
        InternalSetToCrack(nullptr);
    } else {
        SyncCursor();
        InternalSetToCrack(&ActiveBuffer());
        if (recordCount_ < BufferCount())
            ++recordCount_;
        std::rotate(buffers_.begin() + activeRecord_, buffers_.begin() + recordCount_ - 1,
                    buffers_.begin() + recordCount_);
    }
    cursorRow_ = -1;
    RecordBuffer& fresh = ActiveBuffer();
    InternalInitRecord(fresh);
    fresh.lookups.clear();
    fresh.lookupsDue = false;
    SetState(TDataSetState::dsInsert);
    modified_ = false;
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::UpdateRecord()
{
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert && state_ != TDataSetState::dsSetKey)
        Fail("Dataset not in edit or insert mode");
    DataEvent(TDataEvent::deUpdateRecord);
}

void TDataSet::Post()
{
    UpdateRecord();
    if (state_ == TDataSetState::dsSetKey) {
        SetState(TDataSetState::dsBrowse);
        return;
    }
    DataEvent(TDataEvent::deCheckBrowseMode);
    for (const auto& field : fields_) {
        if (field->Required && !field->ReadOnly && !field->IsLookup() && field->IsBlank()) {
            field->FocusControl();
            throw EDatabaseError("Field '" + field->Label() + "' must have a value");
        }
    }
    InternalPost(ActiveBuffer(), state_ == TDataSetState::dsInsert);
    SetState(TDataSetState::dsBrowse);
    Resync(ResyncMode::KeepRow);
}

void TDataSet::Cancel()
{
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
        return;
    DataEvent(TDataEvent::deCheckBrowseMode);
    if (state_ == TDataSetState::dsEdit)
        InternalCancel();
    SetState(TDataSetState::dsBrowse);
    Resync(ResyncMode::KeepRow);
}

void TDataSet::Delete()
{
    CheckActive();
    if (state_ == TDataSetState::dsInsert || state_ == TDataSetState::dsSetKey) {
        Cancel();
        return;
    }
    CheckCanModify();
    if (recordCount_ == 0)
        Fail("Cannot perform this operation on an empty dataset");
    DataEvent(TDataEvent::deCheckBrowseMode);
    // A record another user deleted is not replaced by its neighbour: its
    // delete has nothing left to do.
    bool there =
        cursorRow_ == activeRecord_ || ActiveBuffer().record.bookmark == 0 || InternalGotoBuffer(ActiveBuffer());
    if (there)
        InternalDelete();
    cursorRow_ = -1;
    SetState(TDataSetState::dsBrowse);
    Resync(ResyncMode::KeepRow);
}
