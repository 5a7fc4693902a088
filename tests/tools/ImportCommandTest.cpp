#include "AdminRun.h"
#include "AdminTool.h"
#include "CsvTextEncoding.h"
#include "CsvWriter.h"
#include "EngineConfig.h"
#include "GenerateCommand.h"
#include "RegionalSettings.h"
#include "SqliteTableFile.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every stored value but the bookmark, in key order: what "the same table
// contents" means.
std::string contents(const std::string& path, const std::string& key)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, ("SELECT * FROM records ORDER BY " + key).c_str(), -1, &stmt, nullptr);
    std::string text;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 1; i < sqlite3_column_count(stmt); ++i) {
            const unsigned char* value = sqlite3_column_text(stmt, i);
            text += value ? std::string(reinterpret_cast<const char*>(value)) : std::string("<null>");
            text += '|';
        }
        text += '\n';
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return text;
}

std::int64_t count(const TempDatabase& db, const std::string& table)
{
    std::int64_t n = -1;
    TempDatabase::check(db.open(table)->recordCount(n));
    return n;
}

const std::vector<std::string> employeeHeader = {
    "NIP",        "Karpeg",  "Nama_Pegawai", "Tempat_Lahir",      "Tanggal_Lahir",     "Kd_JK",     "Jenis Kelamin",
    "Kd_Agama",   "Agama",   "Alamat",       "Kd_Pangkat",        "Pangkat",           "Kd_Gol",    "Golongan",
    "Kd_Jabatan", "Jabatan", "Kd_Pend",      "Pendidikan Formal", "Pendidikan_Diklat", "Kd_Status", "Status"};

// A valid employee row with some fields changed.
std::vector<std::string> employee(const std::string& nip, const std::map<std::string, std::string>& changes = {})
{
    std::map<std::string, std::string> values = {{"NIP", nip},
                                                 {"Karpeg", "12345678"},
                                                 {"Nama_Pegawai", "Budi Setiawan"},
                                                 {"Tempat_Lahir", "Medan"},
                                                 {"Tanggal_Lahir", "17/08/1975"},
                                                 {"Kd_JK", "LK"},
                                                 {"Jenis Kelamin", "Laki-laki"},
                                                 {"Kd_Agama", "01"},
                                                 {"Alamat", "Jl. Mawar, 3"},
                                                 {"Kd_Pangkat", "3A"},
                                                 {"Kd_Gol", "3A"},
                                                 {"Kd_Jabatan", "13"},
                                                 {"Kd_Pend", "08"},
                                                 {"Pendidikan_Diklat", "Diklat Teknis"},
                                                 {"Kd_Status", "02"}};
    for (const auto& [field, value] : changes)
        values[field] = value;
    std::vector<std::string> row;
    for (const std::string& field : employeeHeader)
        row.push_back(values[field]);
    return row;
}

void writeCsv(const std::string& path, const std::vector<std::vector<std::string>>& rows)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    CsvWriter writer(file);
    for (const auto& row : rows)
        writer.writeRecord(row);
    std::fclose(file);
}

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = RegionalSettings::current();
        RegionalSettings::current() = RegionalSettings::fromDateFormat("%d/%m/%Y");
    }
    void TearDown() override { RegionalSettings::current() = saved; }

    TempDatabase db;
    RegionalSettings saved;
};

}  // namespace

TEST_F(ImportTest, ExportThenImportIntoAnEmptyDatabaseGivesTheSameTables)
{
    std::ostringstream ignored;
    ASSERT_EQ(GenerateCommand::runIn(db.directory(), 300, ignored, ignored), 0);
    std::unique_ptr<EngineCursor> employees = db.open("Datapegawai.db");
    EngineRecord odd;
    TempDatabase::check(employees->initRecord(odd));
    odd.values = {std::string("1000000001"),
                  std::string(""),
                  std::string("Siti \"Ani\", S.Pd"),
                  std::string(" Bandung "),
                  std::nullopt,
                  std::string(""),
                  std::string(""),
                  std::string("Jl. A\tJl. B"),
                  std::string(""),
                  std::string(""),
                  std::string(""),
                  std::string(""),
                  std::string("Diklat, \"Teknis\""),
                  std::string("")};
    TempDatabase::check(employees->insertRecord(odd));
    employees.reset();
    const std::vector<std::pair<std::string, std::string>> tables = {
        {"Tagama", "Agama.db"}, {"Tdatapeg", "Datapegawai.db"}, {"Tmutasi", "Mutasi.db"}};
    for (const auto& [object, file] : tables)
        ASSERT_EQ(admin({"export", object, db.root() + "/" + file + ".csv"}).code, 0);

    std::string second = db.root() + "/second";
    std::vector<std::string> report;
    TempDatabase::check(DefaultTableFiles::createIn(second, report));
    TempDatabase::check(EngineConfig::writeAlias(db.configPath(), EngineConfig::defaultAlias, second));
    // A code table too, imported into an empty file before the records that use its codes.
    std::remove((second + "/Agama.db").c_str());
    for (const DefaultTableFiles::File& table : DefaultTableFiles::all())
        if (table.description.tableName == "Agama.db")
            TempDatabase::check(SqliteTableFile::create(second + "/Agama.db", table.description));
    for (const auto& [object, file] : tables) {
        AdminRun run = admin({"import", object, db.root() + "/" + file + ".csv"});
        ASSERT_EQ(run.code, 0) << run.out << run.err;
    }
    for (const auto& [object, file] : tables) {
        std::string key = file == "Datapegawai.db" ? "NIP" : file == "Mutasi.db" ? "No_SKM" : "Kd_Agama";
        std::string before = contents(db.path(file), key);
        EXPECT_GT(std::count(before.begin(), before.end(), '\n'), 5) << file;
        EXPECT_EQ(contents(second + "/" + file, key), before) << file;
        ASSERT_EQ(admin({"export", object, db.root() + "/again.csv"}).code, 0);
        EXPECT_EQ(readFile(db.root() + "/again.csv"), readFile(db.root() + "/" + file + ".csv")) << file;
    }
    EXPECT_EQ(admin({"check"}).code, 0);
}

TEST_F(ImportTest, WorkbookAndCsvExportsHoldTheSameValues)
{
    std::ostringstream ignored;
    ASSERT_EQ(GenerateCommand::runIn(db.directory(), 200, ignored, ignored), 0);
    for (const char* table : {"Tdatapeg", "Tmutasi"}) {
        std::string csv = db.root() + "/t.csv", xlsx = db.root() + "/t.xlsx";
        ASSERT_EQ(admin({"export", table, csv}).code, 0);
        ASSERT_EQ(admin({"export", table, xlsx}).code, 0);
        std::ofstream(db.root() + "/same.py") << R"(import csv, sys, datetime, openpyxl
rows = list(csv.reader(open(sys.argv[1], newline='', encoding='utf-8')))
sheet = openpyxl.load_workbook(sys.argv[2], read_only=True).active
cells = [['' if v is None else v.strftime('%d/%m/%Y') if isinstance(v, datetime.datetime) else v for v in r]
         for r in sheet.iter_rows(values_only=True)]
cells = [r + [''] * (len(rows[0]) - len(r)) for r in cells]
print(len(rows), 'same' if rows == cells else 'differ')
)";
        std::string command = "/usr/bin/python3 " + db.root() + "/same.py " + csv + " " + xlsx;
        std::string output;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char chunk[256];
            while (size_t n = fread(chunk, 1, sizeof chunk, pipe))
                output.append(chunk, n);
            pclose(pipe);
        }
        EXPECT_EQ(output, "201 same\n") << table;
    }
}

struct RefusedRow {
    const char* name;
    std::vector<std::string> row;
    const char* reason;
};

TEST_F(ImportTest, EveryRefusedRowIsReportedAndNothingIsStored)
{
    AdminRun first = [&] {
        writeCsv(db.root() + "/stored.csv", {employeeHeader, employee("1111111111")});
        return admin({"import", "Tdatapeg", db.root() + "/stored.csv"});
    }();
    ASSERT_EQ(first.code, 0) << first.out << first.err;

    std::vector<std::string> shortRow = employee("2000000001");
    shortRow.pop_back();
    const std::vector<RefusedRow> cases = {
        {"field count", shortRow, "has 20 fields, the header 21"},
        {"too long", employee("2000000002", {{"Nama_Pegawai", std::string(26, 'a')}}),
         "Nama_Pegawai: longer than 25 characters"},
        {"too long in characters", employee("2000000003", {{"Tempat_Lahir", "Sémarang Sémarang Séma"}}),
         "Tempat_Lahir: longer than 20 characters"},
        {"mask unfilled", employee("12345"), "NIP: Invalid input value (position 6)"},
        {"mask letters", employee("2000000004", {{"Karpeg", "1234abcd"}}), "Karpeg: Invalid input value (position 5)"},
        {"mask overlong", employee("2000000005", {{"Karpeg", "123456789"}}), "Karpeg: longer than 8 characters"},
        {"date", employee("2000000006", {{"Tanggal_Lahir", "31/02/1990"}}),
         "Tanggal_Lahir: '31/02/1990' is not a valid date"},
        {"date text", employee("2000000007", {{"Tanggal_Lahir", "kemarin"}}),
         "Tanggal_Lahir: 'kemarin' is not a valid date"},
        {"code", employee("2000000008", {{"Kd_Agama", "09"}}), "Kd_Agama: code '09' is not in Agama.db"},
        {"code case", employee("2000000009", {{"Kd_JK", "lk"}}), "Kd_JK: code 'lk' is not in JK.db"},
        {"empty key", employee(""), "NIP: a key field may not be empty"},
        {"stored key", employee("1111111111"), "Key violation: a record with NIP 1111111111 is already stored"},
        {"key twice in the file", employee("2000000010"),
         "Key violation: a record with NIP 2000000010 is already stored"},
        {"control character", employee("2000000011", {{"Alamat", "Jl. A\x1b[2J"}}),
         "Alamat: holds the control character 0x1B at character 6"},
        {"not UTF-8", employee("2000000012", {{"Nama_Pegawai", "Jos\xe9"}}),
         "Nama_Pegawai is not UTF-8 text (byte 0xE9 at byte 4); a Latin-1 file is read with --encoding latin1"},
        // Last: line numbers count physical lines, and this row takes two.
        {"line break", employee("2000000013", {{"Alamat", "Jl. A\nJl. B"}}),
         "Alamat: holds the control character 0x0A at character 6"},
    };
    std::vector<std::vector<std::string>> rows = {employeeHeader, employee("2000000010", {{"Alamat", "Jl. A\tJl. B"}})};
    for (const RefusedRow& c : cases)
        rows.push_back(c.row);
    writeCsv(db.root() + "/bad.csv", rows);
    for (bool dryRun : {true, false}) {
        std::vector<std::string> args = {"import", "Tdatapeg", db.root() + "/bad.csv"};
        if (dryRun)
            args.push_back("--dry-run");
        AdminRun run = admin(args);
        EXPECT_EQ(run.code, 1);
        std::istringstream lines(run.out);
        std::string line;
        for (size_t i = 0; i < cases.size(); ++i) {
            std::getline(lines, line);
            EXPECT_EQ(line, "line " + std::to_string(i + 3) + ": " + cases[i].reason) << cases[i].name;
        }
        std::getline(lines, line);
        EXPECT_EQ(line, std::to_string(cases.size()) + " rows refused; nothing stored.");
        EXPECT_EQ(count(db, "Datapegawai.db"), 1);
    }
}

TEST_F(ImportTest, ARowCanFailSeveralChecksAtOnce)
{
    writeCsv(db.root() + "/bad.csv",
             {employeeHeader, employee("12", {{"Kd_Status", "99"}, {"Tanggal_Lahir", "1/13/1990"}})});
    AdminRun run = admin({"import", "Tdatapeg", db.root() + "/bad.csv"});
    EXPECT_EQ(run.out, "line 2: NIP: Invalid input value (position 3); Tanggal_Lahir: '1/13/1990' is not a valid date; "
                       "Kd_Status: code '99' is not in Status.db\n1 row refused; nothing stored.\n");
}

TEST_F(ImportTest, TransferRowsFollowTheirMasksAndTwoDigitYears)
{
    const std::vector<std::string> header = {"No_SKM",   "NIP",        "Nama_Pegawai", "Kd_Golongan",
                                             "Golongan", "Kd_Pangkat", "Pangkat",      "Kd_Jabatan",
                                             "Jabatan",  "Asal",       "Pindah_Ke",    "TMT"};
    writeCsv(db.root() + "/m.csv", {header,
                                    {"A-0001-PK.01.01-2020", "19700000001", "Ani", "3A", "", "3A", "", "13", "",
                                     "Lapas A", "Rutan B", "01/04/25"},
                                    {"A0001PK01012020", "19700000002", "Budi", "", "", "", "", "", "", "", "", ""}});
    AdminRun run = admin({"import", "Tmutasi", db.root() + "/m.csv"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "line 3: No_SKM: Invalid input value (position 8)") << run.out;

    writeCsv(db.root() + "/m.csv", {header,
                                    {"A-0001-PK.01.01-2020", "19700000001", "Ani", "3A", "", "3A", "", "13", "",
                                     "Lapas A", "Rutan B", "01/04/25"}});
    run = admin({"import", "Tmutasi", db.root() + "/m.csv"});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_EQ(contents(db.path("Mutasi.db"), "No_SKM"),
              "A-0001-PK.01.01-2020|19700000001|Ani|3A|3A|13|Lapas A|Rutan B|2025-04-01|\n");
}

TEST_F(ImportTest, UpdateReplacesStoredRecordsAndDryRunStoresNothing)
{
    writeCsv(db.root() + "/a.csv", {employeeHeader, employee("1111111111"), employee("2222222222")});
    ASSERT_EQ(admin({"import", "Tdatapeg", db.root() + "/a.csv"}).code, 0);
    writeCsv(db.root() + "/b.csv",
             {employeeHeader, employee("2222222222", {{"Nama_Pegawai", "Citra"}}), employee("3333333333")});
    AdminRun dry = admin({"import", "Tdatapeg", db.root() + "/b.csv", "--update", "--dry-run"});
    EXPECT_EQ(dry.code, 0);
    EXPECT_EQ(dry.out,
              "Datapegawai.db: every row passes; 1 records would be added, 1 replaced (dry run, nothing stored).\n");
    EXPECT_EQ(count(db, "Datapegawai.db"), 2);
    EXPECT_EQ(admin({"import", "Tdatapeg", db.root() + "/b.csv"}).code, 1);
    AdminRun update = admin({"import", "Tdatapeg", db.root() + "/b.csv", "--update"});
    EXPECT_EQ(update.out, "Datapegawai.db: 1 records added, 1 replaced.\n");
    EXPECT_EQ(count(db, "Datapegawai.db"), 3);
    EXPECT_NE(contents(db.path("Datapegawai.db"), "NIP").find("2222222222|12345678|Citra|"), std::string::npos);
}

TEST_F(ImportTest, RefusesAWrongHeaderAndBrokenQuoting)
{
    std::vector<std::string> header = employeeHeader;
    std::swap(header[0], header[1]);
    writeCsv(db.root() + "/h.csv", {header, employee("1111111111")});
    AdminRun run = admin({"import", "Tdatapeg", db.root() + "/h.csv"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("line 1: the header must be NIP,Karpeg,Nama_Pegawai,"), std::string::npos) << run.err;

    writeCsv(db.root() + "/q.csv", {employeeHeader, employee("1111111111")});
    std::ofstream(db.root() + "/q.csv", std::ios::app) << "\"2222222222,unclosed\r\n";
    run = admin({"import", "Tdatapeg", db.root() + "/q.csv"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, db.root() + "/q.csv line 3: a quoted field is not closed; nothing stored\n");
    EXPECT_EQ(count(db, "Datapegawai.db"), 0);
    EXPECT_EQ(admin({"import", "Tdatapeg", db.root() + "/q.csv", "--force"}).code, 2);
}

TEST_F(ImportTest, ALatin1FileIsRefusedByLineUnlessItsEncodingIsGiven)
{
    writeCsv(db.root() + "/latin1.csv",
             {employeeHeader, employee("1111111111"), employee("2222222222", {{"Nama_Pegawai", "Jos\xE9"}})});
    for (const char* mode : {"--dry-run", "--update"}) {
        AdminRun run = admin({"import", "Tdatapeg", db.root() + "/latin1.csv", mode});
        EXPECT_EQ(run.code, 1) << mode;
        EXPECT_EQ(run.out, "line 3: Nama_Pegawai is not UTF-8 text (byte 0xE9 at byte 4); a Latin-1 file is read with "
                           "--encoding latin1\n1 row refused; nothing stored.\n");
        EXPECT_EQ(count(db, "Datapegawai.db"), 0);
    }
    AdminRun run = admin({"import", "Tdatapeg", db.root() + "/latin1.csv", "--encoding", "latin1"});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_NE(contents(db.path("Datapegawai.db"), "NIP").find("|Jos\xC3\xA9|"), std::string::npos);
    EXPECT_EQ(admin({"import", "Tdatapeg", db.root() + "/latin1.csv", "--encoding", "ebcdic"}).code, 2);
}

TEST(CsvTextEncoding, FindsTheFirstByteThatIsNotWellFormedUtf8)
{
    const struct {
        const char* name;
        std::string text;
        size_t at;
    } cases[] = {
        {"ascii", "Budi, S.Pd", std::string::npos},
        {"two, three and four bytes", "Jos\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", std::string::npos},
        {"latin-1 byte", "Jos\xE9", 3},
        {"stray continuation", "a\x80", 1},
        {"overlong", "\xC0\xAF", 0},
        {"overlong three bytes", "x\xE0\x80\xAF", 1},
        {"surrogate", "ab\xED\xA0\x80", 2},
        {"above U+10FFFF", "\xF4\x90\x80\x80", 0},
        {"cut short", "\xE2\x82", 0},
        {"bad later byte", "\xE2\x82\x41", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvTextEncoding::invalidAt(c.text), c.at) << c.name;
    EXPECT_EQ(CsvTextEncoding::fromLatin1("Jos\xE9 \xFF"), "Jos\xC3\xA9 \xC3\xBF");
}
