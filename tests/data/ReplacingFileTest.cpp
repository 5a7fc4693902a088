// Files written whole or not at all.
#include "ReplacingFile.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

size_t entriesIn(const std::string& folder)
{
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

void writeFile(const std::string& path, const std::string& text, mode_t mode)
{
    std::ofstream(path, std::ios::binary) << text;
    ::chmod(path.c_str(), mode);
}

}  // namespace

TEST(ReplacingFile, TargetChangesOnlyOnCommitAndKeepsItsMode)
{
    TempDatabase db(TempDatabase::Tables::None);
    std::string kept = db.root() + "/kept.csv", fresh = db.root() + "/fresh.csv";
    writeFile(kept, "earlier\n", 0644);
    size_t before = entriesIn(db.root());
    {
        ReplacingFile abandoned(kept);
        ASSERT_TRUE(abandoned.write("partial")) << abandoned.error();
        EXPECT_NE(abandoned.path(), kept);
        EXPECT_EQ(contentOf(kept), "earlier\n");
    }
    EXPECT_EQ(contentOf(kept), "earlier\n");
    EXPECT_EQ(entriesIn(db.root()), before) << "the abandoned temporary file stays behind";

    ReplacingFile replaced(kept);
    std::fputs("through ", replaced.stream());
    ASSERT_TRUE(replaced.write("the stream")) << replaced.error();
    ASSERT_TRUE(replaced.commit()) << replaced.error();
    EXPECT_EQ(contentOf(kept), "through the stream");
    EXPECT_EQ(modeOf(kept), 0644u);

    ReplacingFile made(fresh, 0640);
    ASSERT_TRUE(made.write("new") && made.commit()) << made.error();
    EXPECT_EQ(contentOf(fresh), "new");
    EXPECT_EQ(modeOf(fresh), 0640u);
    EXPECT_EQ(entriesIn(db.root()), before + 1);
}

TEST(ReplacingFile, LinkIsFollowedAndDevicesAreWrittenInPlace)
{
    TempDatabase db(TempDatabase::Tables::None);
    std::string real = db.root() + "/real.txt", link = db.root() + "/link.txt";
    writeFile(real, "old", 0600);
    std::filesystem::create_symlink(real, link);
    ReplacingFile through(link);
    ASSERT_TRUE(through.write("new") && through.commit()) << through.error();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(contentOf(real), "new");

    ReplacingFile device("/dev/null");
    EXPECT_EQ(device.path(), "/dev/null");
    EXPECT_TRUE(device.write("gone") && device.commit()) << device.error();
}

TEST(ReplacingFile, ErrorsSayWhatIsWrongAndWhere)
{
    TempDatabase db(TempDatabase::Tables::None);
    // /dev/full refuses every write as a full disk does.
    ReplacingFile full("/dev/full");
    EXPECT_FALSE(full.write(std::string(1 << 16, 'x')) && full.commit());
    EXPECT_EQ(full.error(), "No space left on the device holding /dev/full");
    EXPECT_FALSE(full.commit());

    std::string missing = db.root() + "/no-such-folder";
    ReplacingFile nowhere(missing + "/out.csv");
    EXPECT_FALSE(nowhere.ok());
    EXPECT_EQ(nowhere.error(), "Cannot create a file in " + missing + ": No such file or directory");
    EXPECT_FALSE(nowhere.write("x"));
    EXPECT_FALSE(nowhere.commit());

    ReplacingFile stored(db.root() + "/stored.txt");
    EXPECT_FALSE(stored.failed(EIO));
    EXPECT_EQ(stored.error(), "Cannot write " + db.root() + "/stored.txt: Input/output error");
    EXPECT_FALSE(stored.commit());
    EXPECT_FALSE(std::filesystem::exists(db.root() + "/stored.txt"));
}
