#include "AdminRun.h"
#include "AdminTool.h"
#include "BackupManifest.h"
#include "ChildProcess.h"
#include "GenerateCommand.h"
#include "Sha256.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Every stored row with its record number, in record order.
std::string contents(const std::string& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM records ORDER BY rid", -1, &stmt, nullptr);
    std::string text;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const unsigned char* value = sqlite3_column_text(stmt, i);
            text += value ? reinterpret_cast<const char*>(value) : "<null>";
            text += '|';
        }
        text += '\n';
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return text;
}

std::string allContents(const std::string& directory)
{
    std::string text;
    for (const DefaultTableFiles::File& file : DefaultTableFiles::all())
        text += file.description.tableName + "\n" + contents(directory + "/" + file.description.tableName);
    return text;
}

BackupManifest readManifest(const std::string& directory)
{
    std::ifstream in(directory + "/manifest");
    std::stringstream text;
    text << in.rdbuf();
    BackupManifest manifest;
    std::string error;
    EXPECT_TRUE(BackupManifest::parse(text.str(), manifest, error)) << error;
    return manifest;
}

void addEmployee(EngineCursor& cursor, const std::string& nip)
{
    EngineRecord record;
    TempDatabase::check(cursor.initRecord(record));
    record.values[0] = nip;
    record.values[2] = std::string("Pegawai ") + nip;
    TempDatabase::check(cursor.insertRecord(record));
}

}  // namespace

TEST(Sha256, KnownDigests)
{
    Sha256 empty;
    EXPECT_EQ(empty.hex(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    Sha256 abc;
    abc.update("abc", 3);
    EXPECT_EQ(abc.hex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Two blocks, fed in uneven pieces.
    std::string text = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    Sha256 pieces;
    pieces.update(text.data(), 5);
    pieces.update(text.data() + 5, text.size() - 5);
    EXPECT_EQ(pieces.hex(), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(Backup, RestoreGivesBackExactlyTheBackedUpRecords)
{
    TempDatabase db;
    std::ostringstream ignored;
    ASSERT_EQ(GenerateCommand::runIn(db.directory(), 150, ignored, ignored), 0);
    const std::string before = allContents(db.directory());
    const std::string dir = db.root() + "/backup";
    AdminRun backup = admin({"backup", dir});
    ASSERT_EQ(backup.code, 0) << backup.err;
    EXPECT_NE(backup.out.find("Datapegawai.db: 150 records\n"), std::string::npos);
    BackupManifest manifest = readManifest(dir);
    ASSERT_EQ(manifest.tables.size(), 9u);
    for (const BackupManifest::Table& table : manifest.tables)
        EXPECT_EQ(Sha256::ofFile(dir + "/" + table.name), table.sha256) << table.name;
    EXPECT_EQ(manifest.source, db.directory());
    EXPECT_EQ(allContents(dir), before);
    // personal data: the new folder and every file in it are the owner's only
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(dir).permissions() & fs::perms::all, fs::perms::owner_all);
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.status().permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none)
            << entry.path();
    EXPECT_EQ(admin({"backup", dir}).code, 1);  // never over an existing backup

    // A record deleted since: a restore would undo that, so only with --force.
    {
        std::unique_ptr<EngineCursor> employees = db.open("Datapegawai.db");
        EngineRecord record;
        TempDatabase::check(employees->setToBegin());
        TempDatabase::check(employees->getNext(record));
        TempDatabase::check(employees->deleteRecord());
    }
    EXPECT_EQ(admin({"restore", dir}).code, 1);
    AdminRun restore = admin({"restore", dir, "--force"});
    ASSERT_EQ(restore.code, 0) << restore.err;
    EXPECT_EQ(allContents(db.directory()), before);
    EXPECT_EQ(admin({"check"}).code, 0);
}

TEST(Backup, RestoreIntoAFreshDatabase)
{
    TempDatabase db;
    std::ostringstream ignored;
    ASSERT_EQ(GenerateCommand::runIn(db.directory(), 40, ignored, ignored), 0);
    const std::string before = allContents(db.directory());
    ASSERT_EQ(admin({"backup", db.root() + "/backup"}).code, 0);
    ASSERT_EQ(admin({"init", db.root() + "/fresh"}).code, 0);
    AdminRun restore = admin({"restore", db.root() + "/backup"});
    ASSERT_EQ(restore.code, 0) << restore.err;
    EXPECT_EQ(allContents(db.root() + "/fresh"), before);
    EXPECT_EQ(admin({"check"}).code, 0);
}

TEST(Backup, NewerRecordsAreOverwrittenOnlyWithForce)
{
    TempDatabase db;
    std::ostringstream ignored;
    ASSERT_EQ(GenerateCommand::runIn(db.directory(), 20, ignored, ignored), 0);
    const std::string before = allContents(db.directory());
    ASSERT_EQ(admin({"backup", db.root() + "/backup"}).code, 0);
    addEmployee(*db.open("Datapegawai.db"), "1999999999");
    const std::string after = allContents(db.directory());

    AdminRun refused = admin({"restore", db.root() + "/backup"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, "restore: Datapegawai.db: 0 changed, 0 deleted, 1 added since the backup\n"
                           "restore: nothing changed; restore with --force to undo those changes\n");
    EXPECT_EQ(allContents(db.directory()), after);
    AdminRun forced = admin({"restore", db.root() + "/backup", "--force"});
    ASSERT_EQ(forced.code, 0) << forced.err;
    EXPECT_EQ(allContents(db.directory()), before);
}

struct Damage {
    const char* name;
    void (*apply)(const std::string& dir);
    const char* message;
};

TEST(Backup, DamagedOrIncompleteBackupsAreRefusedAndNothingChanges)
{
    const std::vector<Damage> damages = {
        {"flipped byte",
         [](const std::string& dir) {
             std::fstream file(dir + "/Mutasi.db", std::ios::in | std::ios::out | std::ios::binary);
             file.seekp(5000);
             file.put('\x5A');
         },
         "restore: Mutasi.db: the checksum differs from the manifest's\n"},
        {"cut short", [](const std::string& dir) { std::filesystem::resize_file(dir + "/Agama.db", 4096); },
         "restore: Agama.db: the file holds 4096 bytes, the manifest says"},
        {"missing file", [](const std::string& dir) { std::filesystem::remove(dir + "/JK.db"); },
         "restore: JK.db: the file is missing\n"},
        {"no manifest", [](const std::string& dir) { std::filesystem::remove(dir + "/manifest"); },
         "holds no complete backup (no manifest); nothing changed\n"},
        {"table left out of the manifest",
         [](const std::string& dir) {
             std::ifstream in(dir + "/manifest");
             std::string text, line;
             while (std::getline(in, line))
                 if (line.find("Status.db") == std::string::npos)
                     text += line + "\n";
             in.close();
             std::ofstream(dir + "/manifest") << text;
         },
         "restore: Status.db: not in the manifest\n"},
        {"garbled manifest",
         [](const std::string& dir) { std::ofstream(dir + "/manifest", std::ios::app) << "tabel x\n"; },
         "manifest line 13 is not understood: tabel x; nothing changed\n"},
    };
    for (const Damage& damage : damages) {
        TempDatabase db;
        std::ostringstream ignored;
        ASSERT_EQ(GenerateCommand::runIn(db.directory(), 30, ignored, ignored), 0);
        const std::string dir = db.root() + "/backup";
        ASSERT_EQ(admin({"backup", dir}).code, 0);
        {
            std::unique_ptr<EngineCursor> transfers = db.open("Mutasi.db");
            EngineRecord record;
            TempDatabase::check(transfers->setToBegin());
            TempDatabase::check(transfers->getNext(record));
            TempDatabase::check(transfers->deleteRecord());
        }
        const std::string live = allContents(db.directory());
        damage.apply(dir);
        for (bool force : {false, true}) {
            std::vector<std::string> args = {"restore", dir};
            if (force)
                args.push_back("--force");
            AdminRun run = admin(args);
            EXPECT_EQ(run.code, 1) << damage.name;
            EXPECT_NE(run.err.find(damage.message), std::string::npos) << damage.name << ": " << run.err;
            EXPECT_EQ(allContents(db.directory()), live) << damage.name;
        }
    }
}

TEST(Backup, TakenWhileAnotherProcessPostsRecords)
{
    TempDatabase db;
    // The writer: posts records one by one through the engine until told to
    // stop, then answers how many it stored and how many failed.
    ChildProcess writer([&](ChildProcess::Channel& channel) {
        std::unique_ptr<EngineCursor> employees = db.open("Datapegawai.db");
        channel.receive();
        int stored = 0, failed = 0;
        for (int n = 0; stored + failed < 20000; ++n) {
            EngineRecord record;
            if (!employees->initRecord(record).ok()) {
                ++failed;
                continue;
            }
            record.values[0] = std::to_string(3000000000LL + n);
            record.values[2] = std::string("Pegawai ") + std::to_string(n);
            (employees->insertRecord(record).ok() ? stored : failed)++;
            if (n % 25 == 0 && stored > 0) {
                std::string line = channel.receive(0);
                if (line == "stop")
                    break;
            }
        }
        channel.send(std::to_string(stored) + " " + std::to_string(failed));
    });
    writer.channel().send("go");
    std::vector<BackupManifest> taken;
    for (int i = 0; i < 4; ++i) {
        const std::string dir = db.root() + "/backup" + std::to_string(i);
        AdminRun run = admin({"backup", dir});
        ASSERT_EQ(run.code, 0) << run.err;
        taken.push_back(readManifest(dir));
        // Each copy is the table at one moment: the records 1..n the writer
        // had stored by then, nothing half written.
        const BackupManifest::Table& employees = taken.back().tables[1];
        ASSERT_EQ(employees.name, "Datapegawai.db");
        EXPECT_EQ(employees.records, employees.last);
        sqlite3* copy = nullptr;
        sqlite3_open_v2((dir + "/Datapegawai.db").c_str(), &copy, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(copy, "SELECT count(*), min(rid), max(rid), count(DISTINCT NIP) FROM records", -1, &stmt,
                           nullptr);
        ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int64(stmt, 0), employees.records);
        if (employees.records > 0) {
            EXPECT_EQ(sqlite3_column_int64(stmt, 1), 1);
            EXPECT_EQ(sqlite3_column_int64(stmt, 2), employees.records);
            EXPECT_EQ(sqlite3_column_int64(stmt, 3), employees.records);
        }
        sqlite3_finalize(stmt);
        sqlite3_close(copy);
    }
    std::string answer = writer.ask("stop");
    std::istringstream counts(answer);
    long long stored = -1, failed = -1;
    counts >> stored >> failed;
    EXPECT_EQ(failed, 0) << answer;
    EXPECT_GT(stored, taken.back().tables[1].records) << "the writer ran until after the last backup";
    EXPECT_GT(taken.back().tables[1].records, taken.front().tables[1].records) << "backups overlapped the writing";

    // The last backup restores to a database that passes the check.
    AdminRun restore = admin({"restore", db.root() + "/backup3", "--force"});
    ASSERT_EQ(restore.code, 0) << restore.err;
    EXPECT_EQ(admin({"check"}).code, 0);
    EXPECT_EQ(contents(db.path("Datapegawai.db")), contents(db.root() + "/backup3/Datapegawai.db"));
}
