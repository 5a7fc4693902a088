#pragma once
#include "RecordBuffer.h"
#include "RecordReader.h"
#include "TDataEvent.h"
#include "TDataSetState.h"
#include "TField.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TDataSource;

// A dataset: state, current record, a window of buffered records around it,
// and the notifications that keep its data sources and their links in step.
// Storage is left to subclasses through the protected internal* hooks; this
// class owns the state machine.
//
// Invariant between public operations: the storage cursor stands on the
// current record (or, with no current record, anywhere).
class TDataSet {
public:
    explicit TDataSet(std::string name = {});
    virtual ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    const std::string& Name() const { return name_; }
    TDataSetState State() const { return state_; }
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    bool Modified() const { return modified_; }
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }
    bool IsEmpty() const { return recordCount_ == 0 && state_ != TDataSetState::dsInsert; }
    // False for a dataset the storage will not change.
    virtual bool CanModify() const { return true; }

    void Open();
    void Close();
    void SetActive(bool active) { active ? Open() : Close(); }

    // Movement. Each starts with the browse-mode check.
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Returns the number of records actually moved.
    int MoveBy(int distance);

    // Editing.
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // Write-back request: every link writes its pending text.
    void UpdateRecord();
    // Ends a pending edit: posts when modified, cancels otherwise.
    void CheckBrowseMode();
    // Ends a pending edit, then re-reads the window around the current
    // record (changes stored by others show up).
    void Refresh();

    // Fields, in field order (declared, or built from the columns).
    const std::vector<std::unique_ptr<TField>>& Fields() const { return fields_; }
    // Compared without regard to letter case; nullptr when none.
    TField* FindField(const std::string& name) const;
    // As FindField, but "Field '%s' not found" (prefixed) when none.
    TField* FieldByName(const std::string& name) const;
    // Takes ownership. Only while inactive.
    TField* AddField(std::unique_ptr<TField> field);

    // Record count of the whole table (may cost a scan in the storage).
    virtual int RecordCount() { return recordCount_; }

    // Lookup values: the first record whose keyFields (";"-separated) equal
    // keyValues exactly, and its resultField's value; null when none. The
    // current record does not move.
    virtual FieldValue Lookup(const std::string& keyFields, const std::vector<FieldValue>& keyValues,
                              const std::string& resultField) = 0;
    // Partial: text begins with value, letter case ignored. Moves to the
    // found record; false leaves the current record.
    virtual bool Locate(const std::string& fieldName, const std::string& value, bool partial) = 0;

    // Data sources, in attachment order. Done by TDataSource.
    void AttachDataSource(TDataSource* source);
    void DetachDataSource(TDataSource* source);

    // A reading of every record in the current ordering that leaves the
    // current record and the links alone (a report run reads through one
    // while the windows sharing the dataset go on being used); nullptr when
    // the storage has no second cursor to give.
    virtual std::unique_ptr<RecordReader> OpenReader() { return nullptr; }
    // The reader's next record, with its lookup values; false after the last.
    bool ReadRecord(RecordReader& reader, RecordBuffer& buffer);
    // Make fields read this buffer (a reader's record) instead of the
    // window; nullptr returns them to the window. Returns the previous one.
    // Does not move the current record and notifies nobody.
    const RecordBuffer* SelectBuffer(const RecordBuffer* buffer);

    // The record window, for data links.
    int BufferCount() const { return static_cast<int>(buffers_.size()); }
    int WindowRecordCount() const { return recordCount_; }
    int ActiveRecord() const { return activeRecord_; }
    // Make another row of the window the one fields read (links drawing
    // rows); returns the previous one. Does not move the current record.
    int SelectRow(int row);
    // The bookmark of the row fields read (0 when none or not stored).
    std::int64_t Bookmark() const;
    // Browse-mode check, then stand on the bookmarked record with the
    // window re-read around it; false (nothing moves) when it is gone.
    bool GotoBookmark(std::int64_t bookmark);
    // Recompute the window size from the links' demands.
    void UpdateBufferCount();

    // Raising an error on behalf of this dataset: "Name: message".
    [[noreturn]] void Fail(const std::string& message) const;
    std::string Prefixed(const std::string& message) const;

    // Field access for TField. A lookup field's row computes its lookup
    // values on the first such read.
    FieldValue FieldValueOf(const TField& field);
    void SetFieldValue(TField& field, const FieldValue& value);
    void DataEvent(TDataEvent event, std::intptr_t info = 0);

protected:
    // Storage hooks. Each throws EDatabaseError on failure.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual void InternalFirst() = 0;  // before the first record
    virtual void InternalLast() = 0;   // after the last record
    // Step and read into buffer; false at the end (cursor then at that end).
    virtual bool InternalNext(RecordBuffer& buffer) = 0;
    virtual bool InternalPrior(RecordBuffer& buffer) = 0;
    // Up to count records as that many InternalNext (forward) or
    // InternalPrior calls would read them, in reading order; the cursor ends
    // where those calls would leave it. Storages that read a run in one go
    // override this.
    virtual std::vector<RecordBuffer> InternalRun(bool forward, int count);
    // Read the cursor's current record; false when it stands on none.
    virtual bool InternalCurrent(RecordBuffer& buffer, bool lock) = 0;
    // Stand on the record of a buffer; false when it is gone, the cursor
    // then standing where it stood (between its former neighbours).
    virtual bool InternalGotoBuffer(const RecordBuffer& buffer) = 0;
    // Stand on the record of a buffer just read, without reading it again.
    virtual void InternalStandOn(const RecordBuffer& buffer) = 0;
    // Up to before rows before anchor, nearest first, and up to after rows
    // after it; the cursor stands on anchor before and after.
    virtual void InternalAround(const RecordBuffer& anchor, int before, int after, std::vector<RecordBuffer>& above,
                                std::vector<RecordBuffer>& below) = 0;
    // Stand on the record of buffer (already there when standing) and read it
    // again into buffer under a write lock. When it is gone the storage's
    // error is raised and the cursor stands where the record stood.
    virtual void InternalLockBuffer(RecordBuffer& buffer, bool standing) = 0;
    // Stand between records: before the record of buffer, or at the end.
    virtual void InternalSetToCrack(const RecordBuffer* before) = 0;
    virtual void InternalInitRecord(RecordBuffer& buffer) = 0;
    virtual void InternalPutValue(RecordBuffer& buffer, const TField& field, const FieldValue& value) = 0;
    virtual void InternalPost(RecordBuffer& buffer, bool inserting) = 0;
    virtual void InternalCancel() = 0;  // release the lock of an edit
    virtual void InternalDelete() = 0;
    // In key state only fields of the current index may be set.
    virtual bool IsIndexField(const TField&) const { return false; }

    enum class ResyncMode { KeepRow, Center };
    // Rebuild the window around the cursor's record (item 8 of re-reading).
    // With exact, the record must be the cursor's own ("Record not found").
    void Resync(ResyncMode mode, bool exact = false);
    // The same around a record just read where the cursor stands, which
    // spares reading it once more.
    void ResyncAround(RecordBuffer anchor, ResyncMode mode);
    // How many rows such a window puts before its record and after it.
    void WindowSides(ResyncMode mode, int& before, int& after) const;
    // The window of anchor and the rows read around it (above nearest first,
    // below read for up to after rows). fillAbove: rows the bottom lacks are
    // read from above, so a record kept in its row after a delete near the
    // end still has rows around it; a search leaves its record centred.
    void ShowAround(RecordBuffer anchor, std::vector<RecordBuffer> above, std::vector<RecordBuffer> below, int after,
                    bool fillAbove = false);
    void SetState(TDataSetState state);
    // Lookup values of a buffer, in calculate state.
    void CalculateFields(RecordBuffer& buffer);
    // The same, left until a lookup field of the buffer is read.
    static void DeferLookups(RecordBuffer& buffer);
    // Make the cursor stand on the active row's record.
    void SyncCursor();
    // Enter a temporary state with notifications suppressed; the returned
    // guard restores the previous state.
    class TemporaryState {
    public:
        TemporaryState(TDataSet& dataSet, TDataSetState state);
        ~TemporaryState();
        TemporaryState(const TemporaryState&) = delete;
        TemporaryState& operator=(const TemporaryState&) = delete;

    private:
        TDataSet& dataSet_;
        TDataSetState saved_;
    };
    RecordBuffer* keyBuffer_ = nullptr;  // in key state: where field values go

    std::vector<std::unique_ptr<TField>> fields_;

private:
    // CalculateFields' loop: index is the count of slots taken so far.
    void calculateLookups(RecordBuffer& buffer, std::optional<TemporaryState>& calculating, size_t& index);
    void CheckActive() const;
    void CheckCanModify() const;
    void BeginNewRecord(bool append);
    void LockActiveRecord();
    void ClearWindow();
    void FillForward(int from);
    int FillBackward(int rows);
    // A run read by InternalRun, with the lookup values computed.
    std::vector<RecordBuffer> FetchRun(bool forward, int count);
    void FetchMore();
    int StepForward(int& scrolled);
    int StepBackward(int& scrolled);
    void NotifySources(TDataEvent event, std::intptr_t info);
    RecordBuffer& ActiveBuffer() { return buffers_[activeRecord_]; }
    const RecordBuffer* RowBuffer() const;
    int LookupIndex(const TField& field) const;

    std::string name_;
    TDataSetState state_ = TDataSetState::dsInactive;
    bool modified_ = false;
    bool bof_ = true;
    bool eof_ = true;
    int disableNotify_ = 0;
    std::vector<RecordBuffer> buffers_ = std::vector<RecordBuffer>(1);
    int recordCount_ = 0;
    int activeRecord_ = 0;
    int selectedRow_ = -1;                          // row fields read while a link draws; -1: active row
    const RecordBuffer* selectedBuffer_ = nullptr;  // a reader's record fields read; not owned
    int cursorRow_ = -1;                            // row the storage cursor stands on; -1: elsewhere
    std::vector<TDataSource*> sources_;
    // The key field of each lookup field, in lookup order, found once per
    // opening: every fetched record needs them.
    struct LookupKey {
        const TField* lookup = nullptr;
        std::string names;  // the KeyFields it was found for
        TField* key = nullptr;
    };
    std::vector<LookupKey> lookupKeys_;
    std::vector<FieldValue> lookupValues_;  // the key of the lookup being calculated
};
