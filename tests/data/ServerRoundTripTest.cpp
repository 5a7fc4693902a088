// Every wait for the server costs a clerk a network round trip, which on an
// office network outweighs the query itself: seeks and window moves must be
// one statement in one round trip, as the same query sent straight through
// libpq would be. The session's protocol trace counts them; no clock is read.
#include "DataModuleFixture.h"
#include "PgCursor.h"
#include "ServerTrace.h"
#include "TDataLink.h"

#include <gtest/gtest.h>

#include <poll.h>

namespace {

class TenRows : public TDataLink {
public:
    TenRows() { SetBufferCount(10); }
};

class ServerRoundTrips : public DataModuleFixture {
protected:
    TestEngine engine() const override { return TestEngine::Server; }

    void SetUp() override
    {
        DataModuleFixture::SetUp();
        if (IsSkipped())
            return;
        // Names in mixed case: the name index folds them.
        db_->runSql("Datapegawai.db",
                    "INSERT INTO {table} (\"NIP\", \"Nama_Pegawai\") SELECT lpad(g::text, 10, '0'), "
                    "CASE WHEN g % 2 = 0 THEN 'Pegawai ' ELSE 'PEGAWAI ' END || lpad(g::text, 3, '0') "
                    "FROM generate_series(1, 100) g");
        cursor_ = db_->open("Datapegawai.db");
        conn_ = dynamic_cast<PgCursor&>(*cursor_).table().connection().handle();
        nip_ = cursor_->description().fieldNumber("NIP");
        name_ = cursor_->description().fieldNumber("Nama_Pegawai");
    }

    std::string value(int field) const { return record_.values[static_cast<size_t>(field)].value_or("?"); }

    std::unique_ptr<EngineCursor> cursor_;
    PGconn* conn_ = nullptr;
    EngineRecord record_;
    int nip_ = -1;
    int name_ = -1;
};

TEST_F(ServerRoundTrips, FindKeyAndReadingTheFoundRecordAreOneStatement)
{
    // Statements are prepared on first use: that round trip is not a seek's.
    ASSERT_TRUE(cursor_->findKey({std::string("0000000007")}, 1).ok());
    ASSERT_TRUE(cursor_->getRecord(record_).ok());
    ServerTrace trace(conn_);
    ASSERT_TRUE(cursor_->findKey({std::string("0000000042")}, 1).ok());
    ASSERT_TRUE(cursor_->getRecord(record_).ok());
    trace.stop();
    EXPECT_EQ(value(nip_), "0000000042");
    EXPECT_EQ(trace.statements(), 1) << trace.text();
    EXPECT_EQ(trace.roundTrips(), 1) << trace.text();
}

TEST_F(ServerRoundTrips, AFailedFindKeyIsOneStatementAndLeavesTheCursor)
{
    ASSERT_TRUE(cursor_->findKey({std::string("0000000007")}, 1).ok());
    ServerTrace trace(conn_);
    EXPECT_EQ(cursor_->findKey({std::string("0000000007x")}, 1).code, EngineCode::RecordNotFound);
    ASSERT_TRUE(cursor_->getRecord(record_).ok());
    trace.stop();
    EXPECT_EQ(value(nip_), "0000000007");
    EXPECT_EQ(trace.roundTrips(), 1) << trace.text();
}

TEST_F(ServerRoundTrips, NearestSeekOnTheFoldedNameIndexIsOneStatement)
{
    ASSERT_TRUE(cursor_->switchToIndex("Nama_Pegawai", false).ok());
    ASSERT_TRUE(cursor_->setToKey({std::string("pegawai 01")}, 1, false).ok());
    ASSERT_TRUE(cursor_->getNext(record_).ok());
    ServerTrace trace(conn_);
    ASSERT_TRUE(cursor_->setToKey({std::string("pegawai 05")}, 1, false).ok());
    ASSERT_TRUE(cursor_->getNext(record_).ok());
    ASSERT_TRUE(cursor_->getRecord(record_).ok());
    trace.stop();
    EXPECT_EQ(value(name_), "Pegawai 050");
    EXPECT_EQ(trace.statements(), 1) << trace.text();
    EXPECT_EQ(trace.roundTrips(), 1) << trace.text();
}

TEST_F(ServerRoundTrips, AWindowOfTenRecordsIsOneRoundTripEitherWay)
{
    ASSERT_TRUE(cursor_->setToBegin().ok());
    ASSERT_TRUE(cursor_->getNext(record_).ok());
    ServerTrace forwards(conn_);
    ASSERT_TRUE(cursor_->setToBegin().ok());
    std::vector<EngineRecord> window;
    ASSERT_TRUE(cursor_->getNextRecords(10, window).ok());
    forwards.stop();
    ASSERT_EQ(window.size(), 10u);
    EXPECT_EQ(window.back().values[static_cast<size_t>(nip_)], "0000000010");
    EXPECT_LE(forwards.roundTrips(), 1) << forwards.text();

    ASSERT_TRUE(cursor_->setToEnd().ok());
    ASSERT_TRUE(cursor_->getPrior(record_).ok());
    ServerTrace backwards(conn_);
    ASSERT_TRUE(cursor_->setToEnd().ok());
    ASSERT_TRUE(cursor_->getPriorRecords(10, window).ok());
    backwards.stop();
    ASSERT_EQ(window.size(), 10u);
    EXPECT_EQ(window.back().values[static_cast<size_t>(nip_)], "0000000091");
    EXPECT_LE(backwards.roundTrips(), 1) << backwards.text();
}

TEST_F(ServerRoundTrips, ARecordWrittenByAnotherSessionIsReadAgain)
{
    ASSERT_TRUE(cursor_->findKey({std::string("0000000042")}, 1).ok());
    ASSERT_TRUE(cursor_->getRecord(record_).ok());
    // The change notice is the only sign another session wrote: wait until
    // the server has sent one (it follows the commit the script waited for).
    std::uint64_t before = 0;
    ASSERT_TRUE(cursor_->changeStamp(before).ok());
    db_->runSql("Datapegawai.db", "UPDATE {table} SET \"Alamat\" = 'Jl. Baru' WHERE \"NIP\" = '0000000042'");
    std::uint64_t now = before;
    pollfd socket{PQsocket(conn_), POLLIN, 0};
    for (int i = 0; i < 100 && now == before; ++i) {
        (void)poll(&socket, 1, 100);
        ASSERT_TRUE(cursor_->changeStamp(now).ok());
    }
    ASSERT_TRUE(cursor_->getRecord(record_).ok());
    EXPECT_EQ(value(cursor_->description().fieldNumber("Alamat")), "Jl. Baru");
}

TEST_F(ServerRoundTrips, EditTakesTheLockThenReadsUnderItInOneRoundTrip)
{
    ASSERT_TRUE(cursor_->findKey({std::string("0000000042")}, 1).ok());
    ASSERT_TRUE(cursor_->getRecord(record_, EngineCursor::Lock::Write).ok());
    ASSERT_TRUE(cursor_->releaseLock().ok());
    ASSERT_TRUE(cursor_->findKey({std::string("0000000043")}, 1).ok());
    ServerTrace trace(conn_);
    ASSERT_TRUE(cursor_->getRecord(record_, EngineCursor::Lock::Write).ok());
    trace.stop();
    EXPECT_EQ(value(nip_), "0000000043");
    // Two statements: the lock, then a read with a snapshot taken after it.
    EXPECT_EQ(trace.statements(), 2) << trace.text();
    EXPECT_EQ(trace.roundTrips(), 1) << trace.text();
    ASSERT_TRUE(cursor_->releaseLock().ok());
}

TEST_F(ServerRoundTrips, DatasetSearchesFillATenRowWindowInTwoRoundTrips)
{
    TenRows grid;
    grid.SetDataSource(&dm().DSdatapeg);
    peg().FindKey({"0000000020"});
    {
        ServerTrace trace(conn_);
        ASSERT_TRUE(peg().FindKey({"0000000050"}));
        trace.stop();
        EXPECT_EQ(current(), "0000000050");
        EXPECT_EQ(grid.ActiveRecord(), 4);
        EXPECT_EQ(grid.RecordCount(), 10);
        // Rows above the found record and rows below it: two queries.
        EXPECT_LE(trace.roundTrips(), 2) << trace.text();
    }
    peg().SetIndexFieldNames("Nama_Pegawai");
    peg().FindNearest({"pegawai 02"});
    {
        ServerTrace trace(conn_);
        peg().FindNearest({"pegawai 07"});
        trace.stop();
        EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 070");
        EXPECT_EQ(grid.ActiveRecord(), 4);
        EXPECT_EQ(grid.RecordCount(), 10);
        EXPECT_LE(trace.roundTrips(), 2) << trace.text();
    }
}

TEST_F(ServerRoundTrips, AnOrderingSwitchKeepsTheRecordInThreeRoundTrips)
{
    TenRows grid;
    grid.SetDataSource(&dm().DSdatapeg);
    ASSERT_TRUE(peg().FindKey({"0000000020"}));
    // Each order's statements are prepared on its first use.
    peg().SetIndexFieldNames("Nama_Pegawai");
    peg().SetIndexFieldNames("NIP");
    ServerTrace trace(conn_);
    peg().SetIndexFieldNames("Nama_Pegawai");
    trace.stop();
    EXPECT_EQ(current(), "0000000020");
    EXPECT_EQ(grid.RecordCount(), 10);
    // The description read again (in case an index came), rows above, rows below.
    EXPECT_LE(trace.roundTrips(), 3) << trace.text();
    peg().Next();
    EXPECT_EQ(current("Nama_Pegawai"), "PEGAWAI 021");
}

// Not a round trip count: the description kept when unchanged must still
// reach every cursor of the table when it does change.
TEST_F(ServerRoundTrips, AnIndexAddedElsewhereReachesEveryCursorOfTheTable)
{
    std::unique_ptr<EngineCursor> other;
    ASSERT_TRUE(cursor_->cloneCursor("Karpeg", other).ok());
    ASSERT_TRUE(other->getNext(record_).ok());
    // Listed before Karpeg: the index numbers of the description move.
    db_->runSql("Datapegawai.db",
                "INSERT INTO " + db_->schema() +
                    ".arsipstaf_indexes VALUES ('Datapegawai.db', -1, 'Alamat', "
                    "'Alamat', false, false, false, false, NULL); CREATE INDEX \"Datapegawai_Alamat\" ON {table} "
                    "(\"Alamat\", \"NIP\"); UPDATE {table} SET \"Alamat\" = 'Jl. ' || (1000 - \"NIP\"::int)");
    ASSERT_TRUE(cursor_->refreshDescription().ok());
    ASSERT_EQ(cursor_->description().indexes.size(), 4u);
    EXPECT_EQ(cursor_->description().indexes[1].name, "Alamat");
    ASSERT_TRUE(other->refreshDescription().ok());
    EXPECT_EQ(other->currentIndex().name, "Karpeg");
    ASSERT_TRUE(other->setToBegin().ok());
    ASSERT_TRUE(other->getNext(record_).ok());
    EXPECT_EQ(value(nip_), "0000000001");
    // Addresses run against the numbers: the new order reads from the last.
    ASSERT_TRUE(other->switchToIndex("Alamat", false).ok());
    ASSERT_TRUE(other->getNext(record_).ok());
    EXPECT_EQ(value(nip_), "0000000100");
}

}  // namespace

TEST_F(ServerRoundTrips, PartialLocateOnAFieldWithoutAnIndexIsOneStatement)
{
    // Two addresses that begin alike when letter case is folded, also
    // outside A-Z; the primary order finds record 40 first.
    db_->runSql("Datapegawai.db", "UPDATE {table} SET \"Alamat\" = CASE \"NIP\" WHEN '0000000060' THEN 'JL. ÉMPAT 4' "
                                  "WHEN '0000000040' THEN 'jl. émpat 9' ELSE 'Jl. Lain' END");
    const int address = cursor_->description().fieldNumber("Alamat");
    struct Case {
        const char* prefix;
        const char* nip;  // null: none found
    };
    for (const Case& search : {Case{"Jl. Émp", "0000000040"}, Case{"zzz", nullptr}, Case{"jl. lain", "0000000001"}}) {
        ServerTrace trace(conn_);
        EngineStatus status = cursor_->findPrefix(address, search.prefix, record_);
        trace.stop();
        if (search.nip) {
            ASSERT_TRUE(status.ok()) << search.prefix;
            EXPECT_EQ(value(nip_), search.nip) << search.prefix;
        } else {
            EXPECT_EQ(status.code, EngineCode::RecordNotFound) << search.prefix;
        }
        EXPECT_EQ(trace.statements(), 1) << search.prefix << "\n" << trace.text();
    }
}
