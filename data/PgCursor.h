#pragma once
#include "EngineCursor.h"
#include "PgKeyOrder.h"
#include "PgTable.h"

#include <deque>
#include <memory>

// A keyset cursor on a server table, the same positions as the table files'
// cursor: on a record its key tuple and rid, on a crack a leading part of a
// tuple and a side. Each move is one indexed "first tuples after this one"
// query. A move reads the next few records along with the one asked for and
// keeps them, so stepping through a record window costs one round trip; the
// kept records are dropped at any change notice for the table.
class PgCursor : public EngineCursor {
public:
    static EngineStatus open(std::shared_ptr<PgTable> table, const std::string& indexName,
                             std::unique_ptr<EngineCursor>& out);
    ~PgCursor() override;

    const TableDescription& description() const override { return table_->description(); }
    EngineStatus refreshDescription() override;
    const IndexDescription& currentIndex() const override;
    // Rights on the server are the role's: a refused store reports itself.
    bool readOnly() const override { return false; }

    EngineStatus setToBegin() override;
    EngineStatus setToEnd() override;
    EngineStatus getRecord(EngineRecord& out, Lock lock = Lock::None) override;
    EngineStatus getNext(EngineRecord& out) override;
    EngineStatus getPrior(EngineRecord& out) override;
    EngineStatus getBookmark(std::int64_t& out) override;
    EngineStatus setToBookmark(std::int64_t bookmark) override;
    EngineStatus setToCrackBefore(std::int64_t bookmark) override;
    EngineStatus switchToIndex(const std::string& indexName, bool keepCurrent) override;
    EngineStatus extractKey(const EngineRecord& record, std::vector<FieldValue>& key) override;
    EngineStatus findKey(const std::vector<FieldValue>& key, int fieldCount) override;
    EngineStatus setToKey(const std::vector<FieldValue>& key, int fieldCount, bool after) override;
    EngineStatus initRecord(EngineRecord& out) override;
    EngineStatus putField(EngineRecord& record, int fieldNumber, const FieldValue& value) override;
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
    // prefix's ranges on that index; else the scan of every record.
    EngineStatus findPrefix(int fieldNumber, const std::string& prefix, EngineRecord& out) override;

    // For tests and tools.
    PgTable& table() const { return *table_; }
    const PgKeyOrder& keyOrder() const { return *order_; }
    // Records a move reads at once.
    static constexpr int readAhead = 16;

private:
    enum class Place { Begin, End, Record, Crack };
    using Op = PgKeyOrder::Op;

    explicit PgCursor(std::shared_ptr<PgTable> table) : table_(std::move(table)) {}
    EngineStatus follow(const std::string& indexName);
    EngineStatus fetch(Op op, int prefix, int limit, EngineRecord& out, bool& found);
    bool takeKept(bool forwards, EngineRecord& out);
    void standOn(const std::vector<FieldValue>& values, std::int64_t rid);
    void standOn(const EngineRecord& record) { standOn(record.values, record.bookmark); }
    void releaseHeldLock();

    std::shared_ptr<PgTable> table_;
    int indexNumber_ = -1;
    PgKeyOrder* order_ = nullptr;

    Place place_ = Place::Begin;
    std::vector<std::string> key_;
    std::int64_t rid_ = 0;
    int prefix_ = 0;
    bool inclusive_ = true;

    std::int64_t locked_ = 0;
    EngineRecord lockedImage_;
    EngineRecord scratch_;

    // Records read ahead: they follow the current record in keptForwards'
    // direction and are good while the table's change stamp is keptStamp.
    std::deque<EngineRecord> kept_;
    bool keptForwards_ = true;
    std::int64_t keptAfter_ = 0;
    std::uint64_t keptStamp_ = 0;
};
