#pragma once
#include "EngineCursor.h"
#include "TDataSet.h"

#include <memory>

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
    bool InternalCurrent(RecordBuffer& buffer, bool lock) override;
    bool InternalGotoBuffer(const RecordBuffer& buffer) override;
    void InternalSetToCrack(const RecordBuffer* before) override;
    void InternalInitRecord(RecordBuffer& buffer) override;
    void InternalPutValue(RecordBuffer& buffer, const TField& field, const FieldValue& value) override;
    void InternalPost(RecordBuffer& buffer, bool inserting) override;
    void InternalCancel() override;
    void InternalDelete() override;

private:
    // A cursor for searches that must not move the current record: on an
    // index whose leading field is fieldName when there is one.
    EngineCursor& SearchCursor(const std::string& fieldName, bool& indexed);

    std::unique_ptr<EngineCursor> cursor_;
    std::unique_ptr<EngineCursor> searchCursor_;
    std::string searchIndex_;
};
