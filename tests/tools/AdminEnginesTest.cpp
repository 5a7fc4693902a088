// Export, import, backup and restore through the alias, with one test body
// on the table files and on the server, against the same expected output.
#include "AdminRun.h"
#include "BackupManifest.h"
#include "BothEngines.h"
#include "ChildProcess.h"
#include "PythonReader.h"
#include "RegionalSettings.h"
#include "Sha256.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// Every record of a table through the alias, in key order, with its number.
std::vector<EngineRecord> records(const TempDatabase& db, const std::string& table)
{
    std::unique_ptr<EngineCursor> cursor = db.open(table);
    std::vector<EngineRecord> all;
    EngineRecord record;
    while (cursor->getNext(record).ok())
        all.push_back(record);
    return all;
}

// The two record tables and a code table, as comparable text.
std::string contents(const TempDatabase& db)
{
    std::string text;
    for (const char* table : {"Datapegawai.db", "Mutasi.db", "Agama.db"}) {
        text += std::string(table) + "\n";
        for (const EngineRecord& record : records(db, table)) {
            text += std::to_string(record.bookmark);
            for (const FieldValue& value : record.values)
                text += "|" + value.value_or("<null>");
            text += "\n";
        }
    }
    return text;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void add(EngineCursor& cursor, std::vector<FieldValue> values)
{
    EngineRecord record;
    TempDatabase::check(cursor.initRecord(record));
    record.values = std::move(values);
    TempDatabase::check(cursor.insertRecord(record));
}

class AdminEngines : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override
    {
        saved_ = RegionalSettings::current();
        RegionalSettings::current() = RegionalSettings::fromDateFormat("%d/%m/%Y");
        db_ = std::make_unique<TempDatabase>(TempDatabase::Tables::Default, GetParam());
        SKIP_WITHOUT_TEST_SERVER(*db_);
    }
    void TearDown() override
    {
        db_.reset();
        RegionalSettings::current() = saved_;
    }

    // count demonstration records and a backup of them in dir.
    void backUp(const std::string& dir, int count)
    {
        ASSERT_EQ(admin({"generate", std::to_string(count)}).code, 0);
        AdminRun run = admin({"backup", dir});
        ASSERT_EQ(run.code, 0) << run.err;
    }

    std::unique_ptr<TempDatabase> db_;
    RegionalSettings saved_;
};

INSTANTIATE_FOR_BOTH_ENGINES(AdminEngines);

const std::string employees =
    "NIP\tKarpeg\tNama_Pegawai\tTempat_Lahir\tTanggal_Lahir\tKd_JK\tJenis Kelamin\tKd_Agama\tAgama\tAlamat\t"
    "Kd_Pangkat\tPangkat\tKd_Gol\tGolongan\tKd_Jabatan\tJabatan\tKd_Pend\tPendidikan Formal\tPendidikan_Diklat\t"
    "Kd_Status\tStatus\n"
    "1234567890\t00000001\tBudi Setiawan\tMedan\t\tLK\tLaki-laki\t03\tKatolik\tJl. Kenanga\t2A\tPengatur Muda\t"
    "2A\tII/a\t10\tPetugas Pengamanan\t06\tD3\tDiklat Teknis\t02\tPNS\n"
    "1987654321\t00000002\tSiti \"Ani\", S.Pd\tBandung\t28/02/1990\tPR\tPerempuan\t01\tIslam\t"
    "Jl. Merdeka, 5\t3A\tPenata Muda\t3A\tIII/a\t13\tStaf Administrasi\t08\tS1\t\t01\tCPNS\n";

}  // namespace

TEST_P(AdminEngines, ExportAndImportRoundTripInOneTransaction)
{
    {
        std::unique_ptr<EngineCursor> cursor = db_->open("Datapegawai.db");
        add(*cursor, {"1987654321", "00000002", "Siti \"Ani\", S.Pd", "Bandung", "1990-02-28", "PR", "01",
                      "Jl. Merdeka, 5", "3A", "3A", "13", "08", "", "01"});
        add(*cursor, {"1234567890", "00000001", "Budi Setiawan", "Medan", std::nullopt, "LK", "03", "Jl. Kenanga", "2A",
                      "2A", "10", "06", "Diklat Teknis", "02"});
    }
    const std::string path = db_->root() + "/pegawai.csv";
    AdminRun run = admin({"export", "Tdatapeg", path});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Datapegawai.db: 2 records written to " + path + "\n");
    EXPECT_EQ(python(csvReader, path), employees);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A new record, then one whose key is stored: nothing at all is stored.
    const std::string exported = readFile(path);
    const size_t header = exported.find("\r\n") + 2;
    const std::string first = exported.substr(header, exported.find("\r\n", header) + 2 - header);
    std::string fresh = first;
    fresh.replace(0, 10, "1111111111");
    const std::string mixed = db_->root() + "/campur.csv";
    std::ofstream(mixed, std::ios::binary) << exported.substr(0, header) << fresh << first;
    run = admin({"import", "Tdatapeg", mixed});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "line 3: Key violation: a record with NIP 1234567890 is already stored\n"
                       "1 row refused; nothing stored.\n");
    EXPECT_EQ(records(*db_, "Datapegawai.db").size(), 2u);

    run = admin({"import", "Tdatapeg", path, "--update"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Datapegawai.db: 0 records added, 2 replaced.\n");
    const std::string added = db_->root() + "/baru.csv";
    std::ofstream(added, std::ios::binary) << exported.substr(0, header) << fresh;
    run = admin({"import", "Tdatapeg", added, "--dry-run"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(records(*db_, "Datapegawai.db").size(), 2u);
    run = admin({"import", "Tdatapeg", added});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Datapegawai.db: 1 records added, 0 replaced.\n");
    std::vector<EngineRecord> stored = records(*db_, "Datapegawai.db");
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].values[0].value_or(""), "1111111111");
    EXPECT_EQ(stored[0].values[2].value_or(""), "Budi Setiawan");
    EXPECT_FALSE(stored[0].values[4].has_value() && !stored[0].values[4]->empty());  // no date stays none
}

TEST_P(AdminEngines, BackupIsNineTableFilesThatRestoreOnTheSameEngine)
{
    const std::string dir = db_->root() + "/backup";
    backUp(dir, 30);
    const std::string before = contents(*db_);
    std::ifstream manifestFile(dir + "/manifest");
    std::stringstream text;
    text << manifestFile.rdbuf();
    BackupManifest manifest;
    std::string error;
    ASSERT_TRUE(BackupManifest::parse(text.str(), manifest, error)) << error;
    ASSERT_EQ(manifest.tables.size(), 9u);
    for (const BackupManifest::Table& table : manifest.tables) {
        EXPECT_EQ(Sha256::ofFile(dir + "/" + table.name), table.sha256) << table.name;
        EXPECT_EQ(fs::status(dir + "/" + table.name).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write)
            << table.name;
    }
    EXPECT_EQ(manifest.tables[1].name, "Datapegawai.db");
    EXPECT_EQ(manifest.tables[1].records, 30);
    EXPECT_EQ(manifest.tables[1].last, 30);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 10);

    // Nothing changed since: restored without --force, the same records.
    AdminRun run = admin({"restore", dir});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Datapegawai.db: 30 records restored\n"), std::string::npos) << run.out;
    EXPECT_EQ(contents(*db_), before);
    EXPECT_EQ(admin({"check"}).code, 0);
}

struct Change {
    const char* name;
    void (*apply)(EngineCursor& employees);
    const char* counts;
};

TEST_P(AdminEngines, RestoreRefusesToUndoAnyChangeWithoutForce)
{
    const std::vector<Change> changes = {
        {"changed",
         [](EngineCursor& employees) {
             EngineRecord record;
             TempDatabase::check(employees.setToBegin());
             TempDatabase::check(employees.getNext(record));
             TempDatabase::check(employees.getRecord(record, EngineCursor::Lock::Write));
             record.values[2] = std::string("Nama Diubah");
             TempDatabase::check(employees.modifyRecord(record));
         },
         "1 changed, 0 deleted, 0 added"},
        {"deleted",
         [](EngineCursor& employees) {
             EngineRecord record;
             TempDatabase::check(employees.setToEnd());
             TempDatabase::check(employees.getPrior(record));
             TempDatabase::check(employees.deleteRecord());
         },
         "0 changed, 1 deleted, 0 added"},
        {"added",
         [](EngineCursor& employees) {
             add(employees, {"1999999999", "", "Pegawai Baru"});
         },
         "0 changed, 0 deleted, 1 added"},
    };
    for (const Change& change : changes) {
        db_.reset();  // before the next one: each sets the alias and puts it back
        db_ = std::make_unique<TempDatabase>(TempDatabase::Tables::Default, GetParam());
        const std::string dir = db_->root() + "/backup";
        backUp(dir, 12);
        const std::string before = contents(*db_);
        change.apply(*db_->open("Datapegawai.db"));
        const std::string after = contents(*db_);
        ASSERT_NE(after, before) << change.name;

        AdminRun refused = admin({"restore", dir});
        EXPECT_EQ(refused.code, 1) << change.name;
        EXPECT_EQ(refused.err, "restore: Datapegawai.db: " + std::string(change.counts) +
                                   " since the backup\n"
                                   "restore: nothing changed; restore with --force to undo those changes\n")
            << change.name;
        EXPECT_EQ(contents(*db_), after) << change.name;
        AdminRun forced = admin({"restore", dir, "--force"});
        ASSERT_EQ(forced.code, 0) << change.name << ": " << forced.err;
        EXPECT_EQ(contents(*db_), before) << change.name;
    }
}

TEST_P(AdminEngines, BackupRestoresIntoNewTableFilesThatGoOnNumbering)
{
    const std::string dir = db_->root() + "/backup";
    backUp(dir, 20);
    {
        // The highest number given out is 20 although record 20 is gone.
        std::unique_ptr<EngineCursor> employees = db_->open("Datapegawai.db");
        EngineRecord record;
        TempDatabase::check(employees->setToBookmark(20));
        TempDatabase::check(employees->deleteRecord());
    }
    const std::string again = db_->root() + "/backup2";
    ASSERT_EQ(admin({"backup", again}).code, 0);
    const std::string before = contents(*db_);

    const std::string fresh = db_->root() + "/fresh";
    ASSERT_EQ(admin({"init", fresh}).code, 0);  // the alias now names table files
    AdminRun run = admin({"restore", again});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(contents(*db_), before);
    std::unique_ptr<EngineCursor> employees = db_->open("Datapegawai.db");
    add(*employees, {"1999999999", "", "Pegawai Baru"});
    std::int64_t bookmark = 0;
    TempDatabase::check(employees->getBookmark(bookmark));
    EXPECT_EQ(bookmark, 21);
}

TEST(AdminRestore, TableFilesRestoreOntoAnEmptyServerSchema)
{
    TempDatabase files;
    ASSERT_EQ(admin({"generate", "25"}).code, 0);
    const std::string dir = files.root() + "/backup";
    ASSERT_EQ(admin({"backup", dir}).code, 0);
    const std::string before = contents(files);

    TempDatabase server{TempDatabase::Tables::None, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(server);
    AdminRun run = admin({"restore", dir});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Mutasi.db: 25 records restored\n"), std::string::npos) << run.out;
    EXPECT_EQ(contents(server), before);
    std::unique_ptr<EngineCursor> employees = server.open("Datapegawai.db");
    add(*employees, {"1999999999", "", "Pegawai Baru"});
    std::int64_t bookmark = 0;
    TempDatabase::check(employees->getBookmark(bookmark));
    EXPECT_EQ(bookmark, 26);
    employees.reset();
    EXPECT_EQ(admin({"check"}).code, 0);
}

TEST(AdminRestore, RestoredFilesAreOwnerOnlyAndAMissingDirectoryIsSaidFirst)
{
    TempDatabase db;
    ASSERT_EQ(admin({"generate", "10"}).code, 0);
    const std::string dir = db.root() + "/backup";
    ASSERT_EQ(admin({"backup", dir}).code, 0);

    const std::string empty = db.root() + "/empty";
    fs::create_directory(empty);
    fs::permissions(empty, fs::perms::owner_all);
    TempDatabase::check(EngineConfig::writeAlias(db.configPath(), EngineConfig::defaultAlias, empty));
    AdminRun run = admin({"restore", dir});
    ASSERT_EQ(run.code, 0) << run.err;
    int tables = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(empty)) {
        if (entry.path().extension() != ".db")
            continue;
        ++tables;
        EXPECT_EQ(entry.status().permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
            << entry.path();
    }
    EXPECT_EQ(tables, 9);
    EXPECT_EQ(admin({"check"}).code, 0);

    // A damaged backup into a directory that is not there: the directory is
    // what is said, before the backup is read.
    std::fstream file(dir + "/Mutasi.db", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(5000);
    file.put('\x5A');
    file.close();
    TempDatabase::check(EngineConfig::writeAlias(db.configPath(), EngineConfig::defaultAlias, db.root() + "/gone"));
    run = admin({"restore", dir});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find(db.root() + "/gone"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("checksum"), std::string::npos) << run.err;
}

TEST(AdminRestore, ADamagedTableFileIsReplacedOnlyWithForceAndKeptAside)
{
    TempDatabase db;
    ASSERT_EQ(admin({"generate", "10"}).code, 0);
    const std::string dir = db.root() + "/backup";
    ASSERT_EQ(admin({"backup", dir}).code, 0);
    const std::string before = contents(db);
    std::ofstream(db.path("Agama.db"), std::ios::binary | std::ios::trunc) << std::string(8192, 'x');

    AdminRun refused = admin({"restore", dir});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Table: Agama.db"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("restore with --force to replace the damaged table"), std::string::npos) << refused.err;
    EXPECT_EQ(readFile(db.path("Agama.db")), std::string(8192, 'x'));

    AdminRun forced = admin({"restore", dir, "--force"});
    ASSERT_EQ(forced.code, 0) << forced.err;
    EXPECT_EQ(readFile(db.path("Agama.db.damaged")), std::string(8192, 'x'));
    EXPECT_EQ(contents(db), before);
    EXPECT_EQ(admin({"check"}).code, 0);
}

TEST(AdminRestore, AServerBackupHoldsEveryTableAtOneMoment)
{
    TempDatabase server{TempDatabase::Tables::Default, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(server);
    // Each transaction adds an employee and his transfer together: a backup
    // of one moment holds as many of the one as of the other.
    const std::string alias = server.serverAlias(), schema = server.schema();
    ChildProcess writer([&](ChildProcess::Channel& channel) {
        channel.receive();
        int n = 0;
        for (; n < 20000; ++n) {
            std::string nip = std::to_string(3000000000LL + n);
            TempDatabase::serverScript(alias, "BEGIN; INSERT INTO " + schema + ".\"Datapegawai\" (\"NIP\") VALUES ('" +
                                                  nip + "'); INSERT INTO " + schema +
                                                  ".\"Mutasi\" (\"No_SKM\", \"NIP\") VALUES ('" + nip + "', '" + nip +
                                                  "'); COMMIT");
            if (n % 10 == 0 && channel.receive(0) == "stop")
                break;
        }
        channel.send(std::to_string(n));
    });
    writer.channel().send("go");
    std::vector<std::int64_t> taken;
    for (int i = 0; i < 3; ++i) {
        const std::string dir = server.root() + "/backup" + std::to_string(i);
        AdminRun run = admin({"backup", dir});
        ASSERT_EQ(run.code, 0) << run.err;
        std::ifstream in(dir + "/manifest");
        std::stringstream text;
        text << in.rdbuf();
        BackupManifest manifest;
        std::string error;
        ASSERT_TRUE(BackupManifest::parse(text.str(), manifest, error)) << error;
        ASSERT_EQ(manifest.tables[1].name, "Datapegawai.db");
        ASSERT_EQ(manifest.tables[5].name, "Mutasi.db");
        EXPECT_EQ(manifest.tables[1].records, manifest.tables[5].records) << "backup " << i;
        taken.push_back(manifest.tables[1].records);
    }
    const long long written = std::stoll(writer.ask("stop"));
    EXPECT_GT(written, taken.back()) << "the writer ran until after the last backup";
    EXPECT_GT(taken.back(), taken.front()) << "backups overlapped the writing";
}
