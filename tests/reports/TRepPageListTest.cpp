#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

#include "EReportError.h"
#include "EmfWriter.h"
#include "LittleEndian.h"
#include "TRepCompress.h"
#include "TRepPageList.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> picture(int page, size_t textLength = 10)
{
    EmfWriter writer(2100, 2970, 96);
    PageText text;
    text.origin = {10, 10 * page};
    text.chars = std::u16string(textLength, u'A' + static_cast<char16_t>(page % 26));
    writer.text(text, PageFont{});
    return writer.finish();
}

std::vector<std::uint8_t> readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, size_t at)
{
    return LittleEndian::get32(bytes.data() + at);
}

class PageListFile : public testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("reptest-" + std::to_string(::getpid()) + "-" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path store(int pages, bool coded, const char* name = "report.rpf")
    {
        TRepPageList list;
        list.setCompression(coded);
        for (int p = 1; p <= pages; ++p)
            list.addPage(picture(p));
        list.finish();
        const fs::path path = dir / name;
        list.saveToFile(path.string());
        return path;
    }

    fs::path dir;
};

TEST_F(PageListFile, OnePageFileIsHeaderRecordAndPicture)
{
    const std::vector<std::uint8_t> pic = picture(1);
    const std::vector<std::uint8_t> bytes = readFile(store(1, false));
    ASSERT_EQ(bytes.size(), 128 + 12 + pic.size());
    EXPECT_EQ(u32At(bytes, bytes.size() - 4), 128u);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 3);
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 309);
    EXPECT_EQ(u32At(bytes, 8), 1u);
    EXPECT_EQ(bytes[25], 0);
    EXPECT_EQ(u32At(bytes, 128), 1u);            // page number
    EXPECT_EQ(u32At(bytes, 132), bytes.size());  // next record
    EXPECT_EQ(std::memcmp(bytes.data() + 136, pic.data(), pic.size()), 0);
    double when;
    std::memcpy(&when, bytes.data() + 16, 8);
    EXPECT_GT(when, 45000.0);  // a date after 2023 in days since 1899-12-30
    EXPECT_EQ(bytes[26], 1);   // every picture sealed
    for (size_t i = 27; i < 128; ++i)
        EXPECT_EQ(bytes[i], 0) << i;  // and no title
}

TEST_F(PageListFile, CodedPageStartsWithItsLengthAndDecodesToIt)
{
    const std::vector<std::uint8_t> pic = picture(1, 300);
    TRepPageList list;
    list.setCompression(true);
    list.addPage(pic);
    list.finish();
    const fs::path path = dir / "coded.rpf";
    list.saveToFile(path.string());
    const std::vector<std::uint8_t> bytes = readFile(path);
    EXPECT_EQ(bytes[25], 1);
    EXPECT_EQ(u32At(bytes, 136), pic.size());
    const std::vector<std::uint8_t> coded(bytes.begin() + 140, bytes.end() - 4);
    EXPECT_LT(coded.size(), pic.size());
    EXPECT_EQ(TRepCompress().decode(coded, pic.size()), pic);
    EXPECT_EQ(list.getPage(1), pic);
}

TEST_F(PageListFile, LoadedPagesEqualStoredOnes)
{
    for (bool coded : {false, true}) {
        TRepPageList loaded;
        loaded.loadFromFile(store(7, coded).string());
        EXPECT_EQ(loaded.PageCount(), 7);
        EXPECT_EQ(loaded.Compression(), coded);
        for (int p : {1, 7, 4, 2, 6, 3, 5, 1})
            EXPECT_EQ(loaded.getPage(p), picture(p)) << p << " coded " << coded;
        EXPECT_EQ(loaded.getPage(8), std::nullopt);
        EXPECT_EQ(loaded.getPage(0), std::nullopt);
    }
}

// Each case tears out the offsets that only a walk in the wrong direction
// would follow, so the pages come back only when the walk goes the right way.
TEST_F(PageListFile, WalksBackwardByClosingAndForwardByNextOffsets)
{
    const fs::path path = store(7, false);
    const std::vector<std::uint8_t> good = readFile(path);
    std::vector<size_t> starts;
    for (size_t at = 128; at + 4 < good.size(); at = u32At(good, at + 4))
        starts.push_back(at);
    ASSERT_EQ(starts.size(), 7u);
    auto closingOf = [&](int page) { return u32At(good, starts[page - 1] + 4) - 4; };

    std::vector<std::uint8_t> noForward = good;  // next offsets of pages 1 and 2 torn
    LittleEndian::set32(noForward.data() + starts[0] + 4, 0xFFFFFFF0);
    LittleEndian::set32(noForward.data() + starts[1] + 4, 0xFFFFFFF0);
    std::vector<std::uint8_t> noBackward = good;  // closing offsets of pages 6 and 7 torn
    LittleEndian::set32(noBackward.data() + closingOf(6), 0xFFFFFFF0);
    LittleEndian::set32(noBackward.data() + closingOf(7), 0xFFFFFFF0);

    struct Case {
        const char* name;
        const std::vector<std::uint8_t>* bytes;
        int first;
        std::vector<int> order;
    };
    const Case cases[] = {
        {"backward 5,4,3 after the last page", &noForward, 7, {5, 4, 3}},
        {"forward 3,4,5 after loading", &noBackward, 0, {3, 4, 5}},
    };
    // A torn file is refused at loading; the walks are seen on a store torn
    // in place after its pages were added.
    auto tornStore = [&](const std::vector<std::uint8_t>& bytes, TRepPageList& list) {
        for (int p = 1; p <= 7; ++p)
            list.addPage(picture(p));
        list.finish();
        const std::uint64_t at = list.stream()->position();
        list.stream()->seek(0);
        list.stream()->write(bytes.data(), bytes.size());
        list.stream()->seek(at);
    };
    for (const Case& c : cases) {
        writeFile(path, *c.bytes);
        TRepPageList refused;
        EXPECT_THROW(refused.loadFromFile(path.string()), EReportError) << c.name;
        TRepPageList list;
        tornStore(*c.bytes, list);
        if (c.first == 0)
            list.stream()->seek(128);  // where a loaded store stands
        else
            EXPECT_EQ(list.getPage(c.first), picture(c.first)) << c.name;
        for (int p : c.order)
            EXPECT_EQ(list.getPage(p), picture(p)) << c.name << " page " << p;
    }
    // the torn offsets are what the other direction needs
    TRepPageList forward;
    tornStore(noForward, forward);
    forward.stream()->seek(128);
    EXPECT_THROW(forward.getPage(3), EReportError);
    TRepPageList backward;
    tornStore(noBackward, backward);
    EXPECT_THROW(backward.getPage(5), EReportError);
}

TEST_F(PageListFile, DamagedFilesAreRefusedWholeAtLoading)
{
    const fs::path path = store(5, false);
    const std::vector<std::uint8_t> good = readFile(path);
    std::vector<size_t> starts;
    for (size_t at = 128; at + 4 < good.size(); at = u32At(good, at + 4))
        starts.push_back(at);
    ASSERT_EQ(starts.size(), 5u);

    struct Case {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
    };
    const Case cases[] = {
        {"cut in the middle of page 3", [&](auto& b) { b.resize(starts[2] + 40); }},
        {"cut just before the last closing offset", [&](auto& b) { b.resize(b.size() - 1); }},
        {"header claims 1000 pages", [&](auto& b) { LittleEndian::set32(b.data() + 8, 1000); }},
        {"header claims 6 pages", [&](auto& b) { LittleEndian::set32(b.data() + 8, 6); }},
        {"header claims 4 pages", [&](auto& b) { LittleEndian::set32(b.data() + 8, 4); }},
        {"page 4 numbered 9", [&](auto& b) { LittleEndian::set32(b.data() + starts[3], 9); }},
        {"page 2 ends too early",
         [&](auto& b) { LittleEndian::set32(b.data() + starts[1] + 4, std::uint32_t(starts[1] + 20)); }},
        {"page 5 closes on the wrong start",
         [&](auto& b) { LittleEndian::set32(b.data() + b.size() - 4, std::uint32_t(starts[3])); }},
        {"tail after the last page", [&](auto& b) { b.insert(b.end(), 8, 0); }},
    };
    // the store already holding pages keeps them after a refused load
    TRepPageList list;
    list.loadFromFile(path.string());
    const fs::path damagedPath = dir / "damaged.rpf";
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = good;
        c.damage(bytes);
        writeFile(damagedPath, bytes);
        EXPECT_THROW(list.loadFromFile(damagedPath.string()), EReportError) << c.name;
        EXPECT_EQ(list.PageCount(), 5) << c.name;
        EXPECT_EQ(list.getPage(3), picture(3)) << c.name;
    }
}

// Any byte flipped after the header, in a record's offsets or anywhere in a
// picture of the first, a middle or the last page, refuses the file whole,
// and the message names the file; so does a header that says 0 pages.
TEST_F(PageListFile, EveryFlippedPageByteAndAnEmptyHeaderAreRefused)
{
    for (bool coded : {false, true}) {
        const fs::path path = store(3, coded, coded ? "coded.rpf" : "plain.rpf");
        const std::vector<std::uint8_t> good = readFile(path);
        const fs::path damagedPath = dir / "flipped.rpf";
        TRepPageList list;
        list.loadFromFile(path.string());
        int refused = 0;
        for (size_t at = 128; at < good.size(); ++at) {
            std::vector<std::uint8_t> bytes = good;
            bytes[at] ^= 0xFF;
            writeFile(damagedPath, bytes);
            try {
                list.loadFromFile(damagedPath.string());
                ADD_FAILURE() << "byte " << at << " flipped was accepted, coded " << coded;
            } catch (const EReportError& e) {
                ++refused;
                if (refused == 1) {
                    EXPECT_NE(std::string(e.what()).find(damagedPath.string()), std::string::npos) << e.what();
                }
            }
            ASSERT_EQ(list.getPage(2), picture(2));
        }
        EXPECT_EQ(refused, static_cast<int>(good.size() - 128));
        std::vector<std::uint8_t> empty = good;
        LittleEndian::set32(empty.data() + 8, 0);
        writeFile(damagedPath, empty);
        EXPECT_THROW(list.loadFromFile(damagedPath.string()), EReportError);
        EXPECT_EQ(list.PageCount(), 3);
    }
}

TEST_F(PageListFile, OldHeaderOf124BytesIsRead)
{
    const std::vector<std::uint8_t> pic1 = picture(1), pic2 = picture(2);
    std::vector<std::uint8_t> bytes(124, 0);
    bytes[0] = 2;
    bytes[2] = 309 & 0xFF;
    bytes[3] = 309 >> 8;
    LittleEndian::set32(bytes.data() + 8, 2);
    auto addRecord = [&](int page, const std::vector<std::uint8_t>& pic) {
        const auto start = static_cast<std::uint32_t>(bytes.size());
        LittleEndian::put32(bytes, static_cast<std::uint32_t>(page));
        LittleEndian::put32(bytes, static_cast<std::uint32_t>(start + 12 + pic.size()));
        bytes.insert(bytes.end(), pic.begin(), pic.end());
        LittleEndian::put32(bytes, start);
    };
    addRecord(1, pic1);
    addRecord(2, pic2);
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 173, 3), "EMF");
    const fs::path path = dir / "old.rpf";
    writeFile(path, bytes);
    TRepPageList list;
    list.loadFromFile(path.string());
    EXPECT_EQ(list.headerSize(), 124u);
    EXPECT_EQ(list.PageCount(), 2);
    EXPECT_EQ(list.getPage(2), pic2);
    EXPECT_EQ(list.getPage(1), pic1);
}

TEST(TRepStream, SpillsToATemporaryFileAndRemovesIt)
{
    std::string name;
    {
        TRepPageList list;
        list.open(100000);
        int page = 0;
        while (!list.stream()->inFile())
            list.addPage(picture(++page, 2000));
        name = list.stream()->temporaryName();
        EXPECT_EQ(fs::path(name).filename().string().rfind("RPF", 0), 0u) << name;
        EXPECT_EQ(fs::path(name).parent_path(), fs::temp_directory_path());
        EXPECT_TRUE(fs::exists(name));
        EXPECT_GT(fs::file_size(name), 100000u);
        list.addPage(picture(++page, 2000));
        list.finish();
        for (int p = 1; p <= page; ++p)
            EXPECT_EQ(list.getPage(p), picture(p, 2000)) << p;
    }
    EXPECT_FALSE(fs::exists(name));
}

// A finished temporary file is moved to the saved name on its own file
// system (an existing file's mode kept) and read there from then on; on
// another file system it is copied and stays the run's.
TEST(TRepStream, SaveMovesAFinishedTemporaryFileOrCopiesItAcrossFileSystems)
{
    struct Case {
        const char* name;
        const char* temporaryFolder;  // nullptr: the default
        bool moved;
    };
    const fs::path saved = fs::temp_directory_path() / ("saved-" + std::to_string(::getpid()) + ".RPF");
    const char* previous = std::getenv("TMPDIR");
    const std::string restore = previous ? previous : "";
    for (const Case& c : {Case{.name = "same", .temporaryFolder = nullptr, .moved = true},
                          Case{.name = "across", .temporaryFolder = "/dev/shm", .moved = false}}) {
        SCOPED_TRACE(c.name);
        if (c.temporaryFolder && !fs::is_directory(c.temporaryFolder))
            continue;
        if (c.temporaryFolder)
            ::setenv("TMPDIR", c.temporaryFolder, 1);
        writeFile(saved, {1, 2, 3});
        fs::permissions(saved, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        std::string temporary;
        {
            TRepPageList list;
            list.open(100000);
            for (int page = 1; page <= 60; ++page)
                list.addPage(picture(page, 2000));
            list.finish();
            temporary = list.stream()->temporaryName();
            ASSERT_FALSE(temporary.empty());
            list.saveToFile(saved.string());
            EXPECT_EQ(fs::exists(temporary), !c.moved);
            EXPECT_EQ(list.stream()->fileName(), c.moved ? saved.string() : temporary);
            for (int p = 60; p >= 1; --p)
                EXPECT_EQ(list.getPage(p), picture(p, 2000)) << p;
            TRepPageList loaded;
            loaded.loadFromFile(saved.string());
            EXPECT_EQ(loaded.PageCount(), 60);
            EXPECT_EQ(loaded.getPage(60), picture(60, 2000));
        }
        EXPECT_TRUE(fs::exists(saved));
        EXPECT_FALSE(fs::exists(temporary));
        EXPECT_EQ(fs::status(saved).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        if (previous)
            ::setenv("TMPDIR", restore.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    fs::remove(saved);
}

TEST(TRepStream, StaysInMemoryUpToItsLimit)
{
    TRepStream stream(100000);
    std::vector<std::uint8_t> bytes(100000, 7);
    stream.write(bytes.data(), bytes.size());
    EXPECT_FALSE(stream.inFile());
    stream.write(bytes.data(), 1);
    EXPECT_TRUE(stream.inFile());
    EXPECT_EQ(stream.size(), 100001u);
    stream.seek(99999);
    std::uint8_t two[2];
    EXPECT_EQ(stream.read(two, 2), 2u);
    EXPECT_EQ(stream.read(two, 2), 0u);
    EXPECT_THROW(stream.seek(100002), EReportError);
}

TEST_F(PageListFile, LoadedFileIsNotDeletedWhenReleased)
{
    const fs::path path = store(2, false);
    {
        TRepPageList list;
        list.loadFromFile(path.string());
        EXPECT_TRUE(list.stream()->temporaryName().empty());
    }
    EXPECT_TRUE(fs::exists(path));
}

TEST_F(PageListFile, SavingOntoTheLoadedFileKeepsIt)
{
    const fs::path path = store(3, false);
    const std::vector<std::uint8_t> before = readFile(path);
    TRepPageList list;
    list.loadFromFile(path.string());
    list.saveToFile(path.string());
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(list.getPage(3), picture(3));
}

}  // namespace
