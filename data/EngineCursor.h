#pragma once
#include "EngineRecord.h"
#include "EngineStatus.h"
#include "HistoryQuery.h"
#include "HistoryRow.h"
#include "TableDescription.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A cursor on one table, following one index. It stands either before the
// first record, after the last, on a record, or on a crack (between two
// records, where a record was deleted or a key search landed).
//
// Every move, seek and find is one indexed query whose cost does not grow
// with the table. Records of an index with equal keys follow in primary-key
// order. Text compares as the index says: case-insensitive indexes fold
// letter case, all others compare exactly.
class EngineCursor {
public:
    enum class Lock { None, Write };

    virtual ~EngineCursor() = default;

    // Columns and indexes; refreshDescription() re-reads them from the file.
    virtual const TableDescription& description() const = 0;
    virtual EngineStatus refreshDescription() = 0;
    // The index the cursor follows (an entry of description().indexes).
    virtual const IndexDescription& currentIndex() const = 0;

    // True when this process cannot store into the table (file, directory
    // or a side file it cannot write): the table is opened read-only and
    // every lock, insert, modify and delete fails with ReadOnlyTable.
    virtual bool readOnly() const = 0;

    virtual EngineStatus setToBegin() = 0;  // before the first record
    virtual EngineStatus setToEnd() = 0;    // after the last record

    // The record the cursor stands on. RecordNotFound on a crack or at an
    // end; RecordGone when it was deleted since. With Lock::Write the record
    // is read again under a write lock that holds across processes until
    // modify, releaseLock or delete (RecordLocked when another holds it).
    virtual EngineStatus getRecord(EngineRecord& out, Lock lock = Lock::None) = 0;
    // Step to the next or prior record and read it. At the end the cursor
    // stands after the last (before the first) record and EndOfData
    // (BeginOfData) is returned; out is left unchanged.
    virtual EngineStatus getNext(EngineRecord& out) = 0;
    virtual EngineStatus getPrior(EngineRecord& out) = 0;
    // Up to count records, as that many getNext (getPrior) calls would read
    // them, in reading order, into out (cleared first); the cursor ends where
    // those calls would leave it. Running off the end is not an error: out
    // is then shorter. Engines that can read a run at once override these.
    virtual EngineStatus getNextRecords(int count, std::vector<EngineRecord>& out);
    virtual EngineStatus getPriorRecords(int count, std::vector<EngineRecord>& out);

    // The bookmark of the current record; RecordNotFound when there is none.
    virtual EngineStatus getBookmark(std::int64_t& out) = 0;
    // Stand on the bookmarked record; RecordNotFound ("Record was deleted by
    // another user.") when it is gone, the cursor not moving.
    virtual EngineStatus setToBookmark(std::int64_t bookmark) = 0;
    // Stand on a record just read from this table, by this cursor or another
    // on it, without reading it again: the place comes from its values. The
    // default stands by its bookmark.
    virtual EngineStatus setToRecord(const EngineRecord& record) { return setToBookmark(record.bookmark); }
    // Stand on the crack just before the record of the bookmark, so that
    // getNext reads that record and getPrior the one before it.
    virtual EngineStatus setToCrackBefore(std::int64_t bookmark) = 0;

    // Follow another index, by name; an empty name is the primary index.
    // With keepCurrent the cursor stays on its record, otherwise it stands
    // before the first record.
    virtual EngineStatus switchToIndex(const std::string& indexName, bool keepCurrent) = 0;

    // The values of the current index's key fields taken from a record.
    virtual EngineStatus extractKey(const EngineRecord& record, std::vector<FieldValue>& key) = 0;
    // Stand on the first record whose first fieldCount key fields equal key
    // exactly (whole values; letter case as the index). RecordNotFound leaves
    // the cursor where it was.
    virtual EngineStatus findKey(const std::vector<FieldValue>& key, int fieldCount) = 0;
    // Stand on the crack before the first record whose first fieldCount key
    // fields are >= key (or > key when after). A key that is a leading part
    // of another sorts lower.
    virtual EngineStatus setToKey(const std::vector<FieldValue>& key, int fieldCount, bool after) = 0;

    // A blank new record: empty values, except defaults the file declares.
    virtual EngineStatus initRecord(EngineRecord& out) = 0;
    // Put one value into a buffer, text cut to the column size.
    virtual EngineStatus putField(EngineRecord& record, int fieldNumber, const FieldValue& value) = 0;
    // Store a new record in its own committed transaction; the cursor then
    // stands on it. KeyViolation leaves the table unchanged.
    virtual EngineStatus insertRecord(const EngineRecord& record) = 0;
    // Store the locked current record with the values of record and release
    // the lock. RecordChanged / RecordDeleted when another process changed it
    // since it was read.
    virtual EngineStatus modifyRecord(const EngineRecord& record) = 0;
    virtual EngineStatus releaseLock() = 0;
    // Delete the current record; the cursor then stands on its crack.
    // RecordGone when it no longer exists.
    virtual EngineStatus deleteRecord() = 0;

    // Number of records in the table.
    virtual EngineStatus recordCount(std::int64_t& out) = 0;
    // A number that differs whenever the table's records have changed since
    // it was last asked: at once for changes through this table's cursors,
    // within a tenth of a second for changes by any other connection or
    // process. Cheap: it reads no record.
    virtual EngineStatus changeStamp(std::uint64_t& out) = 0;

    // A second, independent cursor on the same table following indexName.
    virtual EngineStatus cloneCursor(const std::string& indexName, std::unique_ptr<EngineCursor>& out) = 0;
    // The first record, in this cursor's order, whose listed columns equal
    // the values exactly. Does not move this cursor. RecordNotFound if none.
    virtual EngineStatus findFiltered(const std::vector<int>& fieldNumbers, const std::vector<FieldValue>& values,
                                      EngineRecord& out) = 0;
    // The first record, in this cursor's order, whose text in column
    // fieldNumber begins with prefix, letter case folded as TextCompare
    // folds it; RecordNotFound if none. Where this cursor stands afterwards
    // is unspecified. The default reads the table record by record.
    virtual EngineStatus findPrefix(int fieldNumber, const std::string& prefix, EngineRecord& out);

    // The records around a record just read from this table: up to before
    // records before it, nearest first (as getPriorRecords reads them), and
    // up to after records after it. The cursor then stands on the record.
    // One read where the engine can.
    virtual EngineStatus getRecordsAround(const EngineRecord& record, int before, int after,
                                          std::vector<EngineRecord>& above, std::vector<EngineRecord>& below);

    // The table's change history, read-only: nothing above the engine can
    // add, change or remove an entry (the engine adds them with each insert,
    // modify and delete). out is cleared first; a table that keeps no history
    // has none. The default keeps none.
    virtual EngineStatus readHistory(const HistoryQuery& query, std::vector<HistoryRow>& out);

private:
    EngineStatus getRecords(int count, bool forward, std::vector<EngineRecord>& out);
};
