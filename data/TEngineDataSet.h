#pragma once
#include "EngineCursor.h"
#include "TDataSet.h"

#include <map>
#include <memory>
#include <unordered_map>

// A dataset over one engine cursor: every storage hook is one cursor call,
// and every non-zero status other than running off an end is raised as
// EDBEngineError.
class TEngineDataSet : public TDataSet {
public:
    using TDataSet::TDataSet;

    FieldValue Lookup(const std::string& keyFields, const std::vector<FieldValue>& keyValues,
                      const std::string& resultField) override;
    bool Locate(const std::string& fieldName, const std::string& value, bool partial) override;
    int RecordCount() override;
    // False when the engine opened the table read-only.
    bool CanModify() const override { return !cursor_ || !cursor_->readOnly(); }
    // Through a clone of the cursor on its current index.
    std::unique_ptr<RecordReader> OpenReader() override;
    // The table's change history as the query asks for it (read-only: no
    // layer above the engine can write one). Empty while inactive or for a
    // table that keeps none; raises EDBEngineError.
    std::vector<HistoryRow> History(const HistoryQuery& query);

protected:
    // The open cursor; null while inactive.
    EngineCursor* Cursor() const { return cursor_.get(); }
    void SetCursor(std::unique_ptr<EngineCursor> cursor) { cursor_ = std::move(cursor); }
    // Raises a non-zero status (ends of data included: callers that
    // expect them test first).
    static void Check(const EngineStatus& status);

    void InternalClose() override;
    void InternalFirst() override;
    void InternalLast() override;
    bool InternalNext(RecordBuffer& buffer) override;
    bool InternalPrior(RecordBuffer& buffer) override;
    std::vector<RecordBuffer> InternalRun(bool forward, int count) override;
    void InternalStandOn(const RecordBuffer& buffer) override;
    static std::vector<RecordBuffer> Buffers(std::vector<EngineRecord> records);
    void InternalAround(const RecordBuffer& anchor, int before, int after, std::vector<RecordBuffer>& above,
                        std::vector<RecordBuffer>& below) override;
    bool InternalCurrent(RecordBuffer& buffer, bool lock) override;
    bool InternalGotoBuffer(const RecordBuffer& buffer) override;
    void InternalLockBuffer(RecordBuffer& buffer, bool standing) override;
    void InternalSetToCrack(const RecordBuffer* before) override;
    void InternalInitRecord(RecordBuffer& buffer) override;
    void InternalPutValue(RecordBuffer& buffer, const TField& field, const FieldValue& value) override;
    void InternalPost(RecordBuffer& buffer, bool inserting) override;
    void InternalCancel() override;
    void InternalDelete() override;

private:
    void StandWhere(const EngineRecord& record);
    // "A record with NIP 1960020202 already exists." for the record posted.
    std::string KeyInUse();
    // Lookups answered since the table last changed: code tables are read
    // for every row shown, and most rows ask the same few codes. Answers are
    // kept per key fields and result field, by the key value itself, so that
    // a hit builds no string.
    struct LookupAnswers {
        std::string keyFields, resultField;
        std::unordered_map<std::string, FieldValue> byKey;  // several key values joined by \x1f
    };
    struct LookupCache {
        std::uint64_t stamp = 0;
        size_t size = 0;
        std::vector<LookupAnswers> kinds;
    };
    static constexpr size_t lookupCacheLimit = 4096;
    LookupAnswers& AnswersFor(const std::string& keyFields, const std::string& resultField);
    FieldValue SearchLookup(const std::vector<std::string>& names, const std::vector<FieldValue>& keyValues,
                            const std::string& resultField);

    // A cursor for searches that must not move the current record: on an
    // index whose leading field is fieldName when there is one.
    EngineCursor& SearchCursor(const std::string& fieldName, bool& indexed);
    // The one search cursor, following indexName; kept between searches so
    // that its prepared statements are reused (a lookup box locates on
    // every keystroke).
    EngineCursor& CursorOn(const std::string& indexName);

    std::unique_ptr<EngineCursor> cursor_;
    std::unique_ptr<EngineCursor> searchCursor_;
    LookupCache lookupCache_;
    std::string searchIndex_;
};
