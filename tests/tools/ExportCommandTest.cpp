#include "AdminRun.h"
#include "AdminTool.h"
#include "CsvReader.h"
#include "CsvWriter.h"
#include "PythonReader.h"
#include "RegionalSettings.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* xlsxReader = R"(import sys, datetime, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
sheet = book.active
print('frozen', sheet.freeze_panes)
for row in sheet.iter_rows(values_only=True):
    out = []
    for v in row:
        if isinstance(v, datetime.datetime):
            out.append('date ' + v.strftime('%Y-%m-%d'))
        else:
            out.append('' if v is None else str(v))
    print('\t'.join(out))
)";

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = RegionalSettings::current();
        RegionalSettings::current() = RegionalSettings::fromDateFormat("%d/%m/%Y");
        std::unique_ptr<EngineCursor> employees = db.open("Datapegawai.db");
        // Stored out of key order: the export follows the primary index.
        add(*employees, {"1987654321", "00000002", "Siti \"Ani\", S.Pd", "Bandung", "1990-02-28", "PR", "01",
                         "Jl. Merdeka, 5", "3A", "3A", "13", "08", "", "01"});
        add(*employees, {"1234567890", "00000001", "Budi Setiawan", "Medan", std::nullopt, "LK", "09", "Jl. Kenanga",
                         "2A", "2A", "10", "06", "Diklat Teknis", "02"});
    }
    void TearDown() override { RegionalSettings::current() = saved; }

    static void add(EngineCursor& cursor, std::vector<FieldValue> values)
    {
        EngineRecord record;
        TempDatabase::check(cursor.initRecord(record));
        record.values = std::move(values);
        TempDatabase::check(cursor.insertRecord(record));
    }

    TempDatabase db;
    RegionalSettings saved;
};

const std::string employeeHeader =
    "NIP\tKarpeg\tNama_Pegawai\tTempat_Lahir\tTanggal_Lahir\tKd_JK\tJenis Kelamin\tKd_Agama\tAgama\tAlamat\t"
    "Kd_Pangkat\tPangkat\tKd_Gol\tGolongan\tKd_Jabatan\tJabatan\tKd_Pend\tPendidikan Formal\tPendidikan_Diklat\t"
    "Kd_Status\tStatus\n";

}  // namespace

TEST_F(ExportTest, CsvHoldsTheDeclaredFieldsWithCodeTextsInPrimaryOrder)
{
    std::string path = db.root() + "/pegawai.csv";
    AdminRun run = admin({"export", "Tdatapeg", path});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Datapegawai.db: 2 records written to " + path + "\n");
    // Religion code 09 is in no code table: its text stays empty.
    EXPECT_EQ(python(csvReader, path),
              employeeHeader +
                  "1234567890\t00000001\tBudi Setiawan\tMedan\t\tLK\tLaki-laki\t09\t\tJl. Kenanga\t2A\tPengatur Muda\t"
                  "2A\tII/a\t10\tPetugas Pengamanan\t06\tD3\tDiklat Teknis\t02\tPNS\n"
                  "1987654321\t00000002\tSiti \"Ani\", S.Pd\tBandung\t28/02/1990\tPR\tPerempuan\t01\tIslam\t"
                  "Jl. Merdeka, 5\t3A\tPenata Muda\t3A\tIII/a\t13\tStaf Administrasi\t08\tS1\t\t01\tCPNS\n");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(ExportTest, WorkbookHasRealDatesAndAFrozenHeader)
{
    std::string path = db.root() + "/pegawai.XLSX";
    AdminRun run = admin({"export", "datapegawai.db", path});
    ASSERT_EQ(run.code, 0) << run.err;
    std::string read = python(xlsxReader, path);
    EXPECT_EQ(read.substr(0, read.find('\n') + 1), "frozen A2\n");
    EXPECT_NE(read.find(employeeHeader), std::string::npos) << read;
    EXPECT_NE(read.find("\tBandung\tdate 1990-02-28\tPR\tPerempuan\t"), std::string::npos) << read;
    EXPECT_LT(read.find("1234567890\t"), read.find("1987654321\t"));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(ExportTest, CodeTablesExportTheirColumns)
{
    std::string path = db.root() + "/jk.csv";
    ASSERT_EQ(admin({"export", "Tjk", path}).code, 0);
    EXPECT_EQ(python(csvReader, path), "Kd_JK\tJK\nLK\tLaki-laki\nPR\tPerempuan\n");
}

TEST_F(ExportTest, RefusesUnknownTablesAndFileKinds)
{
    AdminRun unknown = admin({"export", "Tpegawai", db.root() + "/x.csv"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("Unknown table Tpegawai"), std::string::npos);
    AdminRun kind = admin({"export", "Tdatapeg", db.root() + "/x.ods"});
    EXPECT_EQ(kind.code, 2);
    EXPECT_NE(kind.err.find(".csv or .xlsx"), std::string::npos);
    AdminRun unwritable = admin({"export", "Tdatapeg", db.root() + "/missing/x.csv"});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_NE(unwritable.err.find("Cannot create"), std::string::npos);
}

TEST(CsvFormat, QuotesWhatNeedsQuotingAndReadsItBack)
{
    const std::vector<std::string> fields = {"plain", "a,b", "say \"hi\"", "two\r\nlines", " padded ", ""};
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(file);
    CsvWriter writer(file);
    ASSERT_TRUE(writer.writeRecord(fields));
    ASSERT_TRUE(writer.writeRecord({"next"}));
    std::rewind(file);
    CsvReader reader(file);
    std::vector<std::string> read;
    ASSERT_EQ(reader.next(read), CsvReader::Result::Record);
    EXPECT_EQ(read, fields);
    EXPECT_EQ(reader.line(), 1);
    ASSERT_EQ(reader.next(read), CsvReader::Result::Record);
    EXPECT_EQ(read, std::vector<std::string>{"next"});
    EXPECT_EQ(reader.line(), 3);
    EXPECT_EQ(reader.next(read), CsvReader::Result::End);
    std::fclose(file);
    EXPECT_EQ(CsvWriter::field("a\"b"), "\"a\"\"b\"");
}

TEST(CsvFormat, RefusesAnOpenQuoteAndTextAfterAClosingQuote)
{
    for (const char* text : {"a,\"open\n", "a,\"closed\"x\n"}) {
        std::FILE* file = std::tmpfile();
        std::fputs(text, file);
        std::rewind(file);
        CsvReader reader(file);
        std::vector<std::string> read;
        EXPECT_EQ(reader.next(read), CsvReader::Result::Error) << text;
        EXPECT_FALSE(reader.error().empty());
        std::fclose(file);
    }
}

TEST(CsvFormat, SkipsAByteOrderMarkAndTakesBareLineFeeds)
{
    std::FILE* file = std::tmpfile();
    std::fputs("\xEF\xBB\xBFNIP,Nama\n1,Ani\n", file);
    std::rewind(file);
    CsvReader reader(file);
    std::vector<std::string> read;
    ASSERT_EQ(reader.next(read), CsvReader::Result::Record);
    EXPECT_EQ(read, (std::vector<std::string>{"NIP", "Nama"}));
    ASSERT_EQ(reader.next(read), CsvReader::Result::Record);
    EXPECT_EQ(read, (std::vector<std::string>{"1", "Ani"}));
    EXPECT_EQ(reader.line(), 2);
    std::fclose(file);
}

TEST_F(ExportTest, ReplacedFileKeepsItsModesAndAFullDiskIsAFailure)
{
    std::string path = db.root() + "/old.csv";
    std::ofstream(path) << "old";
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(admin({"export", "Tjk", path}).code, 0);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    // A device keeps its mode; the write failing is reported, not success.
    struct stat device {};
    ASSERT_EQ(stat("/dev/full", &device), 0);
    std::string full = db.root() + "/full.csv";
    ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
    AdminRun run = admin({"export", "Tdatapeg", full});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("No space left on the device holding /dev/full"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    struct stat after {};
    ASSERT_EQ(stat("/dev/full", &after), 0);
    EXPECT_EQ(after.st_mode, device.st_mode);
}
