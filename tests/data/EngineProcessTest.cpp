// The engine against other real processes: a second copy of the program
// editing the same records, and a process killed while it stores records.
#include "BothEngines.h"
#include "ChildProcess.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <random>
#include <sstream>
#include <thread>

namespace {

std::string nipOf(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%010d", n);
    return text;
}

std::string hex(EngineCode code)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(code));
    return text;
}

// Through the alias, as the program opens it: files or server alike.
std::unique_ptr<EngineCursor> openEmployees()
{
    std::unique_ptr<EngineDatabase> database;
    TempDatabase::check(StorageEngine::defaultSession().openDatabase("rekam_induk", database));
    std::unique_ptr<EngineCursor> cursor;
    TempDatabase::check(database->openTable("Datapegawai.db", "", cursor));
    return cursor;
}

// A second copy of the program, driven by one-line commands:
//   lock NIP | modify NAME | release | delete NIP | sql STATEMENT
// Each answer is the engine status code in hex ("0000" for success).
void secondCopy(ChildProcess::Channel& channel, const TempDatabase& db)
{
    std::unique_ptr<EngineCursor> cursor = openEmployees();
    EngineRecord record;
    for (std::string line = channel.receive(60000); !line.empty(); line = channel.receive(60000)) {
        std::string command = line.substr(0, line.find(' '));
        std::string argument = line.size() > command.size() ? line.substr(command.size() + 1) : std::string();
        EngineStatus status;
        if (command == "lock") {
            status = cursor->findKey({argument}, 1);
            if (status.ok())
                status = cursor->getRecord(record, EngineCursor::Lock::Write);
        } else if (command == "modify") {
            status = cursor->putField(record, cursor->description().fieldNumber("Nama_Pegawai"), argument);
            if (status.ok())
                status = cursor->modifyRecord(record);
        } else if (command == "release") {
            status = cursor->releaseLock();
        } else if (command == "delete") {
            status = cursor->findKey({argument}, 1);
            if (status.ok())
                status = cursor->deleteRecord();
        } else if (command == "sql") {
            // A writer that knows nothing of record locks.
            try {
                db.runSql("Datapegawai.db", argument);
            } catch (const std::exception& error) {
                status = EngineStatus::failure(EngineCode::Internal, error.what());
            }
        }
        channel.send(hex(status.code));
    }
}

class TwoProcesses : public ::testing::TestWithParam<TestEngine> {
protected:
    TempDatabase db{TempDatabase::Tables::Default, GetParam()};
    ChildProcess other{[this](ChildProcess::Channel& channel) { secondCopy(channel, db); }};
    std::unique_ptr<EngineCursor> cursor;
    EngineRecord record;

    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER(db);
        cursor = db.open("Datapegawai.db");
        for (int n = 1; n <= 3; ++n) {
            ASSERT_TRUE(cursor->initRecord(record).ok());
            ASSERT_TRUE(cursor->putField(record, 0, nipOf(n)).ok());
            ASSERT_TRUE(cursor->putField(record, 2, "Pegawai " + std::to_string(n)).ok());
            ASSERT_TRUE(cursor->insertRecord(record).ok());
        }
        ASSERT_TRUE(cursor->findKey({nipOf(2)}, 1).ok());
    }
    std::string name()
    {
        EXPECT_TRUE(cursor->getRecord(record).ok());
        return record.values[2].value_or("");
    }
};

}  // namespace

TEST_P(TwoProcesses, SecondCopyCannotEditOrDeleteALockedRecord)
{
    ASSERT_EQ(other.ask("lock " + nipOf(2)), "0000");
    EngineStatus status = cursor->getRecord(record, EngineCursor::Lock::Write);
    EXPECT_EQ(status.code, EngineCode::RecordLocked);
    EXPECT_EQ(status.message, "Record locked by another user.");
    EXPECT_EQ(cursor->deleteRecord().code, EngineCode::RecordLocked);
    ASSERT_TRUE(cursor->findKey({nipOf(3)}, 1).ok());
    EXPECT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());  // other records are free

    ASSERT_EQ(other.ask("modify Pegawai Dua"), "0000");  // posting releases the lock
    ASSERT_TRUE(cursor->findKey({nipOf(2)}, 1).ok());
    ASSERT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
    EXPECT_EQ(record.values[2], std::string("Pegawai Dua"));
    EXPECT_EQ(other.ask("lock " + nipOf(2)), hex(EngineCode::RecordLocked));
    EXPECT_EQ(other.ask("delete " + nipOf(2)), hex(EngineCode::RecordLocked));
    ASSERT_TRUE(cursor->releaseLock().ok());
    EXPECT_EQ(other.ask("lock " + nipOf(2)), "0000");
    EXPECT_EQ(other.ask("release"), "0000");
    EXPECT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
}

TEST_P(TwoProcesses, LocksOfAKilledProcessDoNotBlock)
{
    ASSERT_EQ(other.ask("lock " + nipOf(2)), "0000");
    EXPECT_EQ(cursor->getRecord(record, EngineCursor::Lock::Write).code, EngineCode::RecordLocked);
    other.kill();
    EXPECT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
    ASSERT_TRUE(cursor->putField(record, 2, std::string("Pegawai Baru")).ok());
    EXPECT_TRUE(cursor->modifyRecord(record).ok());
}

TEST_P(TwoProcesses, ModifyOfARecordChangedByTheOtherProcessIsRefused)
{
    ASSERT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
    ASSERT_EQ(other.ask("sql UPDATE {table} SET \"Alamat\" = 'Jl. Melati 4' WHERE \"NIP\" = '" + nipOf(2) + "'"),
              "0000");
    ASSERT_TRUE(cursor->putField(record, 2, std::string("Tertimpa")).ok());
    EngineStatus status = cursor->modifyRecord(record);
    EXPECT_EQ(status.code, EngineCode::RecordChanged);
    EXPECT_EQ(status.message, "Record was changed by another user.");
    ASSERT_TRUE(cursor->releaseLock().ok());
    EXPECT_EQ(name(), "Pegawai 2");

    ASSERT_EQ(other.ask("sql DELETE FROM {table} WHERE \"NIP\" = '" + nipOf(3) + "'"), "0000");
    ASSERT_TRUE(cursor->findKey({nipOf(1)}, 1).ok());
    ASSERT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
    ASSERT_EQ(other.ask("sql DELETE FROM {table} WHERE \"NIP\" = '" + nipOf(1) + "'"), "0000");
    EXPECT_EQ(cursor->modifyRecord(record).code, EngineCode::RecordDeleted);
}

TEST_P(TwoProcesses, EditingAfterTheOtherCopyPostedStartsFromItsValues)
{
    EXPECT_EQ(name(), "Pegawai 2");  // read before the other copy changes it
    ASSERT_EQ(other.ask("lock " + nipOf(2)), "0000");
    ASSERT_EQ(other.ask("modify Pegawai Kedua"), "0000");
    ASSERT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
    EXPECT_EQ(record.values[2], std::string("Pegawai Kedua"));

    ASSERT_TRUE(cursor->releaseLock().ok());
    ASSERT_EQ(other.ask("delete " + nipOf(2)), "0000");
    EXPECT_EQ(cursor->getRecord(record, EngineCursor::Lock::Write).code, EngineCode::RecordGone);
    EXPECT_EQ(cursor->getNext(record).code, EngineCode::Ok);
    EXPECT_EQ(record.values[0], nipOf(3));
}

// A process storing records is killed at a random moment. Every record it
// reported stored (after its commit returned) must be there, none may stay
// locked, and a file must pass SQLite's integrity check.
class CrashTest : public ::testing::TestWithParam<TestEngine> {};

TEST_P(CrashTest, KilledWriterLosesNoReportedRecord)
{
    TempDatabase db{TempDatabase::Tables::Default, GetParam()};
    SKIP_WITHOUT_TEST_SERVER(db);
    std::mt19937 random(std::random_device{}());
    int next = 1;
    for (int round = 0; round < 3; ++round) {
        int first = next;
        ChildProcess writer([first](ChildProcess::Channel& channel) {
            std::unique_ptr<EngineCursor> cursor = openEmployees();
            EngineRecord record;
            for (int n = first;; ++n) {
                if (!cursor->initRecord(record).ok() || !cursor->putField(record, 0, nipOf(n)).ok())
                    return;
                cursor->putField(record, 2, std::string("Pegawai ") + std::to_string(n)).ok();
                if (!cursor->insertRecord(record).ok())
                    return;
                if (n % 7 == 0 && cursor->getRecord(record, EngineCursor::Lock::Write).ok()) {
                    cursor->putField(record, 7, std::string("Jl. Kenanga ") + std::to_string(n)).ok();
                    if (!cursor->modifyRecord(record).ok())
                        return;
                }
                channel.send(nipOf(n));
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100 + random() % 400));
        writer.kill();

        std::vector<std::string> reported;
        for (std::string line = writer.channel().receive(100); !line.empty(); line = writer.channel().receive(100))
            reported.push_back(line);
        ASSERT_FALSE(reported.empty()) << "the writer stored nothing before it was killed";

        std::unique_ptr<EngineCursor> cursor = db.open("Datapegawai.db");
        EngineRecord record;
        for (const std::string& nip : reported) {
            ASSERT_TRUE(cursor->findKey({nip}, 1).ok()) << "lost " << nip << " in round " << round;
            ASSERT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok()) << nip << " left locked";
            ASSERT_TRUE(cursor->releaseLock().ok());
            int n = std::stoi(nip);
            if (n % 7 == 0) {
                EXPECT_EQ(record.values[7], "Jl. Kenanga " + std::to_string(n));
            }
        }
        next = std::stoi(reported.back()) + 2;  // the record after it may or may not be there
        if (db.onServer())
            continue;

        sqlite3* check = nullptr;
        ASSERT_EQ(sqlite3_open(db.path("Datapegawai.db").c_str(), &check), SQLITE_OK);
        std::string result;
        sqlite3_exec(
            check, "PRAGMA integrity_check",
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) += values[0] ? values[0] : "";
                return 0;
            },
            &result, nullptr);
        sqlite3_close(check);
        EXPECT_EQ(result, "ok");
    }
}

INSTANTIATE_FOR_BOTH_ENGINES(TwoProcesses);
INSTANTIATE_FOR_BOTH_ENGINES(CrashTest);
