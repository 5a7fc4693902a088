// Values that are not text: keys of another storage type written by another
// tool, control characters and bytes that are not UTF-8. Each ends in a
// refusal or a report naming the record, never in a loop or a silent store.
#include "AdminRun.h"
#include "AdminTool.h"
#include "BothEngines.h"
#include "EDBEngineError.h"
#include "GenerateCommand.h"
#include "ShellCommand.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

bool holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(ForeignStorageTypes, BlobKeysEndEveryLoopAndCheckNamesTheRecords)
{
    TempDatabase db;
    std::ostringstream out, err;
    ASSERT_EQ(GenerateCommand::run(40, out, err), 0) << err.str();
    // Opened before the damage, as a clerk's window would be.
    std::unique_ptr<EngineCursor> cursor = db.open("Datapegawai.db");
    db.runSql("Datapegawai.db", "UPDATE {table} SET NIP = CAST(NIP AS BLOB) WHERE rid IN (3, 7);"
                                "UPDATE {table} SET Alamat = CAST('x' AS BLOB) WHERE rid = 5");

    for (bool runs : {false, true}) {
        ASSERT_TRUE(cursor->setToBegin().ok());
        EngineStatus status;
        int steps = 0;
        for (; steps < 1000; ++steps) {
            std::vector<EngineRecord> run;
            EngineRecord record;
            status = runs ? cursor->getNextRecords(5, run) : cursor->getNext(record);
            if (!status.ok() || (runs && run.size() < 5))
                break;
        }
        EXPECT_LT(steps, 100) << (runs ? "runs" : "steps") << " went on past the table's end";
        EXPECT_EQ(status.code, EngineCode::TableCorrupt) << EDBEngineError::describe(status);
        EXPECT_EQ(status.message, "The table file holds a value of another type.");
    }

    EXPECT_THROW(db.open("Datapegawai.db"), EDBEngineError) << "a fresh open refuses the table";
    AdminRun report = admin({"report", "Form9", db.root() + "/form9.rpf"});
    EXPECT_NE(report.code, 0);
    EXPECT_TRUE(holds(report.err, "holds a value of another type")) << report.err;

    AdminRun check = admin({"check"});
    EXPECT_EQ(check.code, 1);
    for (const char* line : {"Datapegawai.db: record 3: field 'NIP' holds binary data, not text",
                             "Datapegawai.db: record 7: field 'NIP' holds binary data, not text",
                             "Datapegawai.db: record 5: field 'Alamat' holds binary data, not text",
                             "Field 'NIP' of record 3 holds binary data, not text."})
        EXPECT_TRUE(holds(check.err, line)) << line << "\n" << check.err;
}

class TextThatIsNotText : public ::testing::TestWithParam<TestEngine> {
protected:
    TempDatabase db_{TempDatabase::Tables::Default, GetParam()};
};

TEST_P(TextThatIsNotText, EngineAndShellRefuseItAndCheckReportsStoredOnes)
{
    SKIP_WITHOUT_TEST_SERVER(db_);
    struct Case {
        std::string name;
        std::string problem;  // empty: stored
    };
    const std::vector<Case> cases = {
        {.name = std::string("Ana\0Bela", 8), .problem = "holds the control character 0x00 at character 4"},
        {.name = "Ana\x1b[2J", .problem = "holds the control character 0x1B at character 4"},
        {.name = "Ana\xc2\x85", .problem = "holds the control character U+0085 at character 4"},
        {.name = "Jos\xe9", .problem = "is not UTF-8 (byte 0xE9 at byte 4)"},
        {.name = "Jos\xc3\xa9\tDo\xef\xbf\xbd", .problem = ""},
    };
    std::unique_ptr<EngineCursor> cursor = db_.open("Datapegawai.db");
    int nip = 1000;
    for (const Case& c : cases) {
        EngineRecord record;
        record.values.assign(cursor->description().fields.size(), FieldValue());
        record.values[0] = std::to_string(++nip);
        record.values[static_cast<size_t>(cursor->description().fieldNumber("Nama_Pegawai"))] = c.name;
        EngineStatus status = cursor->insertRecord(record);
        if (c.problem.empty()) {
            EXPECT_TRUE(status.ok()) << EDBEngineError::describe(status);
            continue;
        }
        EXPECT_EQ(status.code, EngineCode::InvalidText);
        EXPECT_TRUE(holds(status.message, "Field 'Nama_Pegawai' " + c.problem)) << status.message;
    }
    std::int64_t count = 0;
    ASSERT_TRUE(cursor->recordCount(count).ok());
    EXPECT_EQ(count, 1);

    std::istringstream script(
        "use Tdatapeg\nappend\nset NIP 2000\nset Alamat \"Jl.\x01 Mawar\"\npost\ncancel\ncount\n");
    std::ostringstream shellOut, shellErr;
    ShellCommand::run(script, shellOut, shellErr);
    EXPECT_TRUE(holds(shellOut.str(), "Field 'Alamat' holds the control character 0x01 at character 4"))
        << shellOut.str();
    EXPECT_TRUE(holds(shellOut.str(), "ok 1\n")) << shellOut.str();

    // Stored past the engine by another tool: check names the record.
    db_.runSql("Datapegawai.db", db_.onServer() ? "UPDATE {table} SET \"Alamat\" = E'a\\x07b'"
                                                : "UPDATE {table} SET Alamat = 'a' || char(7) || 'b'");
    if (!db_.onServer())  // a server database in UTF-8 holds no such bytes
        db_.runSql("Datapegawai.db", "UPDATE {table} SET Nama_Pegawai = CAST(x'4a6f73e9' AS TEXT)");
    AdminRun check = admin({"check"});
    EXPECT_EQ(check.code, 1);
    EXPECT_TRUE(holds(check.err, "Datapegawai.db: record "));
    EXPECT_TRUE(holds(check.err, ": field 'Alamat' holds the control character 0x07 at character 2")) << check.err;
    if (!db_.onServer()) {
        EXPECT_TRUE(holds(check.err, ": field 'Nama_Pegawai' is not UTF-8 (byte 0xE9 at byte 4)")) << check.err;
    }
}

INSTANTIATE_FOR_BOTH_ENGINES(TextThatIsNotText);
