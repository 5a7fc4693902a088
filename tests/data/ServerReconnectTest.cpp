// A session the server ends (a restart, a dropped connection) is opened
// again by the next statement: moves, counts and edits go on, nothing read
// before the loss is shown as current, and a record being edited is never
// stored past a change another user made while the lock was gone.
#include "EngineTestTable.h"
#include "PgCursor.h"

#include <unistd.h>

namespace {

class ServerReconnect : public EngineTestTableBase {
protected:
    ServerReconnect() : EngineTestTableBase(TestEngine::Server) {}

    void SetUp() override
    {
        EngineTestTableBase::SetUp();
        if (IsSkipped())
            return;
        for (const char* nip : {"0000000001", "0000000002", "0000000003"})
            add(nip, "Pegawai " + std::string(nip).substr(9));
        ASSERT_TRUE(cursor->setToBegin().ok());
    }

    PgConnection& connection() { return dynamic_cast<PgCursor&>(*cursor).table().connection(); }

    // Ends this program's session from another one, as a restart does, and
    // waits until the server has let it go.
    void endSession()
    {
        TempDatabase::serverScript(TempDatabase::serverAddress(),
                                   "SELECT pg_terminate_backend(" +
                                       std::to_string(PQbackendPID(connection().handle())) + ", 5000)");
    }

    // Stands on nip and takes its record lock.
    EngineRecord lockRecord(const std::string& nip)
    {
        EngineRecord record;
        EXPECT_TRUE(cursor->findKey({nip}, 1).ok());
        EngineStatus status = cursor->getRecord(record, EngineCursor::Lock::Write);
        EXPECT_TRUE(status.ok()) << EDBEngineError::describe(status);
        return record;
    }

    EngineStatus rename(EngineRecord record, const std::string& name)
    {
        record.values[static_cast<size_t>(field("Nama_Pegawai"))] = name;
        return cursor->modifyRecord(record);
    }

    // The name stored for nip, read by a cursor of its own.
    std::string storedName(const std::string& nip)
    {
        std::unique_ptr<EngineCursor> other = db.open("Datapegawai.db");
        EngineRecord record;
        EngineStatus status = other->findKey({nip}, 1);
        if (status.ok())
            status = other->getRecord(record);
        return status.ok() ? value(record, "Nama_Pegawai") : status.message;
    }
};

TEST_F(ServerReconnect, MovesAndCountsGoOnAndShowWhatWasStoredMeanwhile)
{
    ASSERT_EQ(next(), "0000000001");  // the whole table is now kept as a run
    int session = connection().session();
    endSession();
    db.runSql("Datapegawai.db", "UPDATE {table} SET \"Nama_Pegawai\" = 'Diubah' WHERE \"NIP\" = '0000000002'");
    EngineRecord record;
    EngineStatus status = cursor->getNext(record);
    ASSERT_TRUE(status.ok()) << EDBEngineError::describe(status);
    EXPECT_EQ(value(record, "Nama_Pegawai"), "Diubah");  // read anew, not from the run
    EXPECT_EQ(connection().session(), session + 1);
    EXPECT_EQ(forwards(), std::vector<std::string>{"0000000003"});
    endSession();
    std::int64_t count = 0;
    EXPECT_TRUE(cursor->recordCount(count).ok());
    EXPECT_EQ(count, 3);
    // Change notices are followed on the new session too.
    std::uint64_t before = 0;
    ASSERT_TRUE(cursor->changeStamp(before).ok());
    std::uint64_t after = before;
    db.runSql("Datapegawai.db", "DELETE FROM {table} WHERE \"NIP\" = '0000000003'");
    for (int i = 0; i < 200 && after == before; ++i) {
        ASSERT_TRUE(cursor->changeStamp(after).ok());
        if (after == before)
            usleep(10000);
    }
    EXPECT_GT(after, before);
}

TEST_F(ServerReconnect, AnEditAcrossALossIsToldOnceThenStored)
{
    EngineRecord record = lockRecord("0000000002");
    int session = connection().session();
    endSession();
    EngineStatus status = rename(record, "Baru");
    EXPECT_EQ(connection().session(), session + 1);
    EXPECT_EQ(status.code, EngineCode::IoError);
    EXPECT_EQ(status.message, "The connection to the database server was lost while the record was edited.");
    EXPECT_NE(EDBEngineError::describe(status).find("nobody changed it"), std::string::npos);
    EXPECT_EQ(storedName("0000000002"), "Pegawai 2");
    // Locked again under the new session: another user waits.
    std::unique_ptr<EngineCursor> other = db.open("Datapegawai.db");
    ASSERT_TRUE(other->findKey({"0000000002"}, 1).ok());
    EngineRecord seen;
    EXPECT_EQ(other->getRecord(seen, EngineCursor::Lock::Write).code, EngineCode::RecordLocked);
    status = rename(record, "Baru");
    EXPECT_TRUE(status.ok()) << EDBEngineError::describe(status);
    EXPECT_EQ(storedName("0000000002"), "Baru");
}

TEST_F(ServerReconnect, AnEditAcrossALossNeverOverwritesAChangeMadeMeanwhile)
{
    EngineRecord record = lockRecord("0000000003");
    endSession();
    db.runSql("Datapegawai.db", "UPDATE {table} SET \"Nama_Pegawai\" = 'Orang lain' WHERE \"NIP\" = '0000000003'");
    EngineStatus status = rename(record, "Saya");
    EXPECT_EQ(status.code, EngineCode::IoError);
    EXPECT_NE(EDBEngineError::describe(status).find("Another user changed the record"), std::string::npos);
    EXPECT_EQ(rename(record, "Saya").code, EngineCode::RecordChanged);
    EXPECT_EQ(storedName("0000000003"), "Orang lain");
    EXPECT_TRUE(cursor->releaseLock().ok());

    record = lockRecord("0000000001");
    endSession();
    db.runSql("Datapegawai.db", "DELETE FROM {table} WHERE \"NIP\" = '0000000001'");
    EXPECT_EQ(rename(record, "Saya").code, EngineCode::RecordDeleted);
    EXPECT_EQ(cursor->modifyRecord(record).code, EngineCode::NotLocked);
}

TEST_F(ServerReconnect, ALossInsideATransactionFailsItsNextStatementOnce)
{
    ASSERT_TRUE(connection().runScript("BEGIN", "test").ok());
    endSession();
    EngineStatus status = connection().runScript(
        "INSERT INTO " + connection().qualified("Agama") + " (\"Kd_Agama\", \"Agama\") VALUES ('99', 'Lain')", "test");
    EXPECT_EQ(status.code, EngineCode::IoError);
    EXPECT_NE(EDBEngineError::describe(status).find("Nothing of the unfinished transaction"), std::string::npos);
    EXPECT_TRUE(connection().runScript("ROLLBACK", "test").ok());
    EXPECT_EQ(next(), "0000000001");
}

}  // namespace
