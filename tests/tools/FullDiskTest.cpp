// A full disk is reported as a full disk, naming the device's file, never as
// a damaged table; what was stored before stays. Other trouble with the files
// says what it is too.
#include "AdminRun.h"
#include "AdminTool.h"
#include "EDBEngineError.h"
#include "FullDiskVfs.h"
#include "GenerateCommand.h"
#include "ShellCommand.h"
#include "SmallDisk.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

AdminRun shell(const std::string& script)
{
    std::istringstream in(script);
    std::ostringstream out, err;
    int code = ShellCommand::run(in, out, err);
    return {code, out.str(), err.str()};
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

// The engine's writes failing as on a full disk, on any machine.
TEST(FullDisk, FailingWritesSayNoSpaceNotDamaged)
{
    TempDatabase db;
    std::ostringstream out, err;
    ASSERT_EQ(GenerateCommand::run(10, out, err), 0) << err.str();
    FullDiskVfs disk;
    std::unique_ptr<EngineCursor> cursor = db.open("Datapegawai.db");
    disk.setFull(true);
    EngineRecord record;
    record.values.assign(cursor->description().fields.size(), FieldValue());
    record.values[0] = "1999";
    EngineStatus status = cursor->insertRecord(record);
    EXPECT_EQ(status.code, EngineCode::IoError);
    EXPECT_EQ(status.message, "No space left on the device holding " + db.path("Datapegawai.db"));
    cursor.reset();

    // Opening a table needs room for its shared memory.
    AdminRun start = shell("use Tdatapeg\ncount\n");
    AdminRun check = admin({"check"});
    disk.setFull(false);
    for (const AdminRun& run : {start, check}) {
        EXPECT_NE(run.code, 0);
        EXPECT_TRUE(holds(run.err + run.out, "No space left on the device holding " + db.directory() + "/"))
            << run.err << run.out;
        EXPECT_FALSE(holds(run.err + run.out, "damaged")) << run.err << run.out;
    }
    AdminRun after = shell("use Tdatapeg\ncount\n");
    EXPECT_EQ(after.out, "ok\nok 10\n") << after.err;
}

// The same on a real device of a few megabytes, where the machine allows it.
TEST(FullDisk, SmallDeviceFilledUp)
{
    TempDatabase db(TempDatabase::Tables::None);
    std::string target = db.root() + "/arsip";
    std::filesystem::create_directory(target);
    SmallDisk disk(target, 4);
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason();
    ASSERT_EQ(admin({"init", target}).code, 0);
    std::ostringstream out, err;
    ASSERT_EQ(GenerateCommand::run(50, out, err), 0) << err.str();

    // An export that fails for want of space leaves the earlier one whole.
    std::string exports = db.root() + "/exports", exported = exports + "/pegawai.csv";
    std::filesystem::create_directory(exports);
    SmallDisk exportDisk(exports, 1);
    ASSERT_TRUE(exportDisk.mounted()) << exportDisk.reason();
    ASSERT_EQ(admin({"export", "Tdatapeg", exported}).code, 0);
    std::string earlier = readFile(exported);
    ASSERT_TRUE(exportDisk.fill());
    AdminRun again = admin({"export", "Tdatapeg", exported});
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(holds(again.err, "No space left on the device holding " + exported)) << again.err;
    EXPECT_EQ(readFile(exported), earlier);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(exports))
        ++files;
    EXPECT_EQ(files, 2u) << "the export and the filler, no half-written file beside them";

    ASSERT_TRUE(disk.fill());

    AdminRun start = shell("use Tdatapeg\ncount\nappend\nset NIP 1999\npost\n");
    AdminRun check = admin({"check"});
    for (const AdminRun& run : {start, check}) {
        EXPECT_TRUE(holds(run.err + run.out, "No space left on the device holding " + target + "/"))
            << run.err << run.out;
        EXPECT_FALSE(holds(run.err + run.out, "damaged")) << run.err << run.out;
    }
    disk.empty();
    AdminRun after = shell("use Tdatapeg\ncount\n");
    EXPECT_EQ(after.out, "ok\nok 50\n") << after.err;
}

// Trouble with a side file is named with the file, not called damage.
TEST(SideFileTrouble, ALogOrSharedMemoryThatIsNoFileIsNamed)
{
    TempDatabase db;
    std::string table = db.path("Datapegawai.db");
    ASSERT_TRUE(std::filesystem::create_directory(table + "-wal"));
    ASSERT_EQ(::mkfifo((db.path("Mutasi.db") + "-shm").c_str(), 0600), 0);
    AdminRun check = admin({"check"});
    EXPECT_EQ(check.code, 1);
    EXPECT_TRUE(holds(check.err, "Cannot open " + table + "-wal: Is a directory")) << check.err;
    EXPECT_TRUE(holds(check.err, "Cannot open " + db.path("Mutasi.db") + "-shm: it is a FIFO, not a regular file"))
        << check.err;
    EXPECT_FALSE(holds(check.err, "damaged")) << check.err;
    AdminRun start = shell("use Tdatapeg\n");
    EXPECT_TRUE(holds(start.err, "Cannot open " + table + "-wal: Is a directory")) << start.err;
}
