#pragma once
#include "EngineCursor.h"

#include <cstdint>
#include <string>
#include <vector>

// What the table files' cursor and the server's cursor share: the keyset
// position (on a record its key tuple and record id, on a crack a leading
// part of a tuple and a side), the lock a cursor holds, and the operations
// that only set or read that position or fill a record buffer. Reading and
// storing records is each engine's own.
class KeysetCursor : public EngineCursor {
public:
    const IndexDescription& currentIndex() const override;
    EngineStatus setToBegin() override;
    EngineStatus setToEnd() override;
    EngineStatus getBookmark(std::int64_t& out) override;
    EngineStatus setToCrackBefore(std::int64_t bookmark) override;
    EngineStatus setToRecord(const EngineRecord& record) override;
    EngineStatus extractKey(const EngineRecord& record, std::vector<FieldValue>& key) override;
    // The key is taken into the position only when found: a miss leaves the
    // cursor where it was.
    EngineStatus findKey(const std::vector<FieldValue>& key, int fieldCount) override;
    EngineStatus setToKey(const std::vector<FieldValue>& key, int fieldCount, bool after) override;
    EngineStatus initRecord(EngineRecord& out) override;
    EngineStatus putField(EngineRecord& record, int fieldNumber, const FieldValue& value) override;

protected:
    enum class Place { Begin, End, Record, Crack };

    // The order followed: the record columns of its tuple, how many of them
    // are the index's own fields, and the tuple's length (the record id
    // counts where it is part of the order).
    virtual const std::vector<int>& keyColumns() const = 0;
    virtual int keyFieldCount() const = 0;
    virtual int keyLength() const = 0;
    // A failure naming the table.
    virtual EngineStatus failure(EngineCode code, const std::string& message) const = 0;
    // Stands on the first record whose first fieldCount tuple elements equal
    // those of key_; found tells whether there was one.
    virtual EngineStatus seekEqual(int fieldCount, bool& found) = 0;
    // The cursor left its record for an end or a crack.
    virtual void leftRecord() {}

    static EngineStatus noCurrentRecord();
    // Why a filter of findFiltered cannot be run; success when it can.
    EngineStatus checkFilter(const std::vector<int>& fieldNumbers, const std::vector<FieldValue>& values) const;
    void standOn(const std::vector<FieldValue>& values, std::int64_t rowid);
    void standOn(const EngineRecord& record) { standOn(record.values, record.bookmark); }
    void standOnCrack(int prefix, bool inclusive);

    int indexNumber_ = -1;  // into description().indexes; -1 follows the records' own order
    Place place_ = Place::Begin;
    std::vector<std::string> key_;  // tuple elements before the record id
    std::int64_t rowid_ = 0;
    int prefix_ = 0;         // on a crack: how many tuple elements count
    bool inclusive_ = true;  // on a crack: before (true) or after the records equal to the key

    std::int64_t locked_ = 0;   // record id of the record this cursor holds locked, 0 for none
    EngineRecord lockedImage_;  // that record as read under the lock
    EngineRecord scratch_;
};
