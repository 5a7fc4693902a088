#pragma once
#include "KeysetCursor.h"
#include "PgKeyOrder.h"
#include "PgTable.h"

#include <deque>
#include <memory>

// A keyset cursor on a server table, the same positions as the table files'
// cursor: on a record its key tuple and rid, on a crack a leading part of a
// tuple and a side. Each move is one indexed "first tuples after this one"
// query. A move or seek reads the next few records along with the one asked
// for and keeps them as a run of neighbours, so stepping through a record
// window, re-reading the current record or going back to a record of the
// run costs no round trip; the run is dropped at any change notice for the
// table.
class PgCursor : public KeysetCursor {
public:
    static EngineStatus open(std::shared_ptr<PgTable> table, const std::string& indexName,
                             std::unique_ptr<EngineCursor>& out);
    ~PgCursor() override;

    const TableDescription& description() const override { return table_->description(); }
    EngineStatus refreshDescription() override;
    // Rights on the server are the role's: a refused store reports itself.
    bool readOnly() const override { return false; }

    EngineStatus getRecord(EngineRecord& out, Lock lock = Lock::None) override;
    EngineStatus getNext(EngineRecord& out) override;
    EngineStatus getPrior(EngineRecord& out) override;
    EngineStatus setToBookmark(std::int64_t bookmark) override;
    EngineStatus setToRecord(const EngineRecord& record) override;
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
    // On an index led by the field: the first rows of this order, then the
    // prefix's ranges on that index; else one statement that reads the
    // table on the server.
    EngineStatus findPrefix(int fieldNumber, const std::string& prefix, EngineRecord& out) override;
    EngineStatus readHistory(const HistoryQuery& query, std::vector<HistoryRow>& out) override;

    // For tests and tools.
    PgTable& table() const { return *table_; }
    const PgKeyOrder& keyOrder() const { return *order_; }
    // Records a move reads at once.
    static constexpr int readAhead = 16;

private:
    using Op = PgKeyOrder::Op;

    explicit PgCursor(std::shared_ptr<PgTable> table) : table_(std::move(table)) {}
    EngineStatus follow(const std::string& indexName);
    EngineStatus findPrefixUnindexed(int fieldNumber, const std::string& prefix, EngineRecord& out);
    EngineStatus fetch(Op op, int prefix, int limit, EngineRecord& out, bool& found);
    // One getNext (forward) or getPrior.
    EngineStatus step(bool forward, EngineRecord& out);
    void keep(std::vector<EngineRecord>& rows, bool forwards, bool extend, bool complete);
    bool runCurrent();
    void forgetRun();
    enum class Step { Unknown, Found, Off };
    Step stepInRun(int direction, EngineRecord& out);
    void standAt(int i);
    // Stands on the record of bookmark when the run holds it.
    bool standInRun(std::int64_t bookmark);
    EngineStatus standOnRecord(std::int64_t bookmark);
    void releaseHeldLock();
    // The post of a record whose lock went with a lost session.
    EngineStatus lockAgain(const EngineRecord& record);
    const std::vector<int>& keyColumns() const override { return order_->columns(); }
    int keyFieldCount() const override { return order_->fieldCount(); }
    int keyLength() const override { return order_->length(); }
    EngineStatus failure(EngineCode code, const std::string& message) const override;
    EngineStatus seekEqual(int fieldCount, bool& found) override;
    void leftRecord() override { at_ = -1; }

    std::shared_ptr<PgTable> table_;
    PgKeyOrder* order_ = nullptr;
    int generation_ = 0;     // of the table's description order_ belongs to
    std::string indexName_;  // as followed: another cursor's refresh may renumber the indexes
    int lockSession_ = 0;    // the connection's session the record lock was taken in

    // Records read lately, in index order with nothing between neighbours,
    // good while the table's change stamp is runStamp. at is the current
    // record's place in the run, -1 when the cursor stands elsewhere;
    // runHasFirst/Last say the run holds the table's first/last record.
    std::deque<EngineRecord> run_;
    int at_ = -1;
    bool runHasFirst_ = false;
    bool runHasLast_ = false;
    std::uint64_t runStamp_ = 0;
    // At most this many records are kept: a long walk drops the far end.
    static constexpr size_t runLimit = 4 * readAhead;
};
