// Page files past the memory limit, when a run is killed, terminated or has
// no usable temporary folder.
#include "TemporaryPageFiles.h"
#include "ChildProcess.h"
#include "EReportError.h"
#include "SmallDisk.h"
#include "TRepStream.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A fresh temporary folder for the test (and its children) through TMPDIR.
class OwnTemporaryFolder {
public:
    OwnTemporaryFolder()
    {
        const char* was = std::getenv("TMPDIR");
        if (was)
            saved_ = was;
        hadOne_ = was != nullptr;
        path_ = fs::temp_directory_path() / ("pagefiles-" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
        ::setenv("TMPDIR", path_.c_str(), 1);
    }
    ~OwnTemporaryFolder()
    {
        if (hadOne_)
            ::setenv("TMPDIR", saved_.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        fs::remove_all(path_);
    }
    const fs::path& path() const { return path_; }
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    fs::path path_;
    std::string saved_;
    bool hadOne_ = false;
};

// A stream grown past its limit, so its pages are in a temporary file.
std::unique_ptr<TRepStream> streamInFile()
{
    auto stream = std::make_unique<TRepStream>(16);
    const std::vector<char> bytes(64, 'x');
    stream->write(bytes.data(), bytes.size());
    return stream;
}

// A child that holds a page file, says its name and waits.
ChildProcess childHoldingAFile(bool removeOnTermination)
{
    return ChildProcess([removeOnTermination](ChildProcess::Channel& channel) {
        if (removeOnTermination)
            TemporaryPageFiles::removeOnTermination();
        auto stream = streamInFile();
        channel.send(stream->temporaryName());
        channel.receive(60000);
    });
}

}  // namespace

TEST(TemporaryPageFiles, FileOfAKilledRunGoesAtTheNextStartAndALiveOneStays)
{
    OwnTemporaryFolder folder;
    ChildProcess child = childHoldingAFile(false);
    const std::string name = child.channel().receive();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(fs::path(name).parent_path(), folder.path());
    EXPECT_EQ(fs::path(name).filename().string().rfind("RPF", 0), 0u);
    // Someone else's file, and one named like ours but not made by us.
    std::ofstream(folder.path() / "RPFnotours") << "x";
    std::ofstream(folder.path() / "other.tmp") << "x";

    EXPECT_EQ(TemporaryPageFiles::removeLeftovers(), 0);  // its run is alive
    EXPECT_TRUE(fs::exists(name));
    child.kill();
    EXPECT_TRUE(fs::exists(name));  // a SIGKILL leaves it behind
    EXPECT_EQ(TemporaryPageFiles::removeLeftovers(), 1);
    EXPECT_FALSE(fs::exists(name));
    EXPECT_TRUE(fs::exists(folder.path() / "RPFnotours"));
    EXPECT_TRUE(fs::exists(folder.path() / "other.tmp"));
}

TEST(TemporaryPageFiles, OwnLiveFilesAreNeverTakenForLeftovers)
{
    OwnTemporaryFolder folder;
    auto stream = streamInFile();
    ASSERT_TRUE(stream->inFile());
    EXPECT_EQ(TemporaryPageFiles::removeLeftovers(), 0);
    EXPECT_TRUE(fs::exists(stream->temporaryName()));
    const std::string name = stream->temporaryName();
    stream.reset();
    EXPECT_FALSE(fs::exists(name));
    EXPECT_TRUE(folder.files().empty());
}

class TerminatedRun : public ::testing::TestWithParam<int> {};

TEST_P(TerminatedRun, RemovesItsFilesAndEndsAsTheSignalSays)
{
    OwnTemporaryFolder folder;
    ChildProcess child = childHoldingAFile(true);
    const std::string name = child.channel().receive();
    ASSERT_TRUE(fs::exists(name));
    const int status = child.stop(GetParam());
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), GetParam());
    EXPECT_FALSE(fs::exists(name));
    EXPECT_TRUE(folder.files().empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminatedRun, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return info.param == SIGTERM ? "Term" : "Int"; });

TEST(TemporaryPageFiles, MissingOrUnwritableFolderIsNamedInTheError)
{
    OwnTemporaryFolder folder;
    const fs::path missing = folder.path() / "gone";
    ::setenv("TMPDIR", missing.c_str(), 1);
    try {
        streamInFile();
        FAIL() << "a stream past its limit needs a file";
    } catch (const EReportError& e) {
        EXPECT_NE(std::string(e.what()).find("\"" + missing.string() + "\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(TemporaryPageFiles::removeLeftovers(), 0);
    const fs::path plainFile = folder.path() / "file";
    std::ofstream(plainFile) << "x";
    ::setenv("TMPDIR", plainFile.c_str(), 1);
    EXPECT_THROW(TemporaryPageFiles::folder(), EReportError);
    ::setenv("TMPDIR", folder.path().c_str(), 1);
    EXPECT_EQ(TemporaryPageFiles::folder(), folder.path().string());
}

// A full temporary folder is named as such, not as a fault of the report.
TEST(TemporaryPageFiles, AFullFolderIsNamedWithItsCause)
{
    OwnTemporaryFolder folder;
    SmallDisk disk(folder.path().string(), 1);
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason();
    ASSERT_TRUE(disk.fill());
    try {
        auto stream = std::make_unique<TRepStream>(16);
        const std::vector<char> bytes(1 << 16, 'x');  // past stdio's buffer: written at once
        stream->write(bytes.data(), bytes.size());
        FAIL() << "a full folder takes no pages";
    } catch (const EReportError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "No space left on the device holding the temporary folder \"" + folder.path().string() + "\"");
    }
    disk.empty();
}
