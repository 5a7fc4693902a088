#pragma once
#include "KeysetCursor.h"
#include "SqliteKeyOrder.h"
#include "SqliteTableFile.h"

#include <memory>

// A keyset cursor on a table file. Its position is never a row number: on a
// record it is that record's key tuple (see SqliteKeyOrder) and rowid; on a
// crack it is a leading part of a tuple and whether the crack lies before
// the records equal to it or after them. Every move is then one indexed
// "first tuple after this one" query, so it costs the same on any size of
// table and survives records being inserted or deleted around it.
class SqliteCursor : public KeysetCursor {
public:
    // A cursor on file following indexName (empty: the primary index),
    // standing before the first record.
    static EngineStatus open(std::shared_ptr<SqliteTableFile> file, const std::string& indexName,
                             std::unique_ptr<EngineCursor>& out);
    ~SqliteCursor() override;

    const TableDescription& description() const override { return file_->description(); }
    EngineStatus refreshDescription() override;
    bool readOnly() const override { return file_->readOnly(); }

    EngineStatus getRecord(EngineRecord& out, Lock lock = Lock::None) override;
    EngineStatus getNext(EngineRecord& out) override;
    EngineStatus getPrior(EngineRecord& out) override;
    EngineStatus getNextRecords(int count, std::vector<EngineRecord>& out) override;
    EngineStatus getPriorRecords(int count, std::vector<EngineRecord>& out) override;
    EngineStatus setToBookmark(std::int64_t bookmark) override;
    EngineStatus switchToIndex(const std::string& indexName, bool keepCurrent) override;
    EngineStatus insertRecord(const EngineRecord& record) override;
    EngineStatus modifyRecord(const EngineRecord& record) override;
    EngineStatus releaseLock() override;
    EngineStatus deleteRecord() override;
    EngineStatus recordCount(std::int64_t& out) override;
    EngineStatus changeStamp(std::uint64_t& out) override;
    EngineStatus cloneCursor(const std::string& indexName, std::unique_ptr<EngineCursor>& out) override;
    EngineStatus findFiltered(const std::vector<int>& fieldNumbers, const std::vector<FieldValue>& values,
                              EngineRecord& out) override;
    // A range seek on an index led by the field where there is one, else
    // one statement reading the table in this cursor's order.
    EngineStatus findPrefix(int fieldNumber, const std::string& prefix, EngineRecord& out) override;
    EngineStatus readHistory(const HistoryQuery& query, std::vector<HistoryRow>& out) override;

    // For tests and tools: the table file and the order the cursor follows.
    SqliteTableFile& tableFile() const { return *file_; }
    const SqliteKeyOrder& keyOrder() const { return *order_; }
    // The range seek of findPrefix on index (led by the field): in this
    // cursor's order when it follows index, else unsorted, reading rid, the
    // field and this order's key columns. Named forces that index by its
    // name in the file.
    std::string prefixSql(int fieldNumber, const IndexDescription& index, bool named) const;
    // The first row of each of ranges ranges of column fieldNumber in this
    // cursor's order: one statement.
    std::string rangeStartsSql(int fieldNumber, size_t ranges) const;

private:
    using Op = SqliteKeyOrder::Op;

    explicit SqliteCursor(std::shared_ptr<SqliteTableFile> file) : file_(std::move(file)) {}
    EngineStatus follow(const std::string& indexName);
    // Runs op over the first prefix tuple elements of key_/rowid_; on a hit
    // the cursor stands on the record read into out and found is set.
    EngineStatus fetch(Op op, int prefix, EngineRecord& out, bool& found);
    EngineStatus checkKeyTypes(const SqliteStatement& statement) const;
    // Binds the first prefix tuple elements of key_/rowid_ to statement,
    // from parameter first on.
    void bindPosition(SqliteStatement& statement, int prefix, int first = 1) const;
    // Where the next getNext (forward) or getPrior reads from: op and
    // prefix; false when the cursor stands at that end already.
    bool nextStep(bool forward, Op& op, int& prefix) const;
    // One getNext (forward) or getPrior.
    EngineStatus step(bool forward, EngineRecord& out);
    EngineStatus getRun(bool forward, int count, std::vector<EngineRecord>& out);
    const std::vector<int>& keyColumns() const override { return order_->columns(); }
    int keyFieldCount() const override { return order_->fieldCount(); }
    int keyLength() const override { return order_->length(); }
    EngineStatus failure(EngineCode code, const std::string& message) const override;
    EngineStatus seekEqual(int fieldCount, bool& found) override;
    void releaseHeldLock();
    // An index whose first field is column fieldNumber, to seek prefixes on:
    // the followed one when it qualifies, else preferably a case-folding one.
    const IndexDescription* prefixIndex(int fieldNumber) const;
    // Steps statement in order to the first row whose column begins with
    // prefix (letter case folded), reading at most limit rows (-1: all);
    // found tells whether there was one.
    EngineStatus firstWithPrefix(SqliteStatement& statement, int fieldNumber, const std::string& prefix,
                                 EngineRecord& out, bool& found, int limit);
    // Binds the bounds of a spelling's range from parameter first on.
    static void bindRange(SqliteStatement& statement, const std::string& spelling, int first = 1);
    // The least, in this order (which follows the index led by the field),
    // of the first rows of the spellings' ranges: one statement.
    EngineStatus firstOfRanges(int fieldNumber, const std::vector<std::string>& spellings, EngineRecord& out,
                               bool& found);
    // The first record in this order whose field begins with prefix, from
    // scan (this order, every column) and the unsorted ranges of spellings.
    EngineStatus raceForPrefix(SqliteStatement& scan, SqliteStatement& ranges, int fieldNumber,
                               const std::string& prefix, const std::vector<std::string>& spellings, EngineRecord& out,
                               bool& found);

    std::shared_ptr<SqliteTableFile> file_;
    SqliteKeyOrder* order_ = nullptr;
};
