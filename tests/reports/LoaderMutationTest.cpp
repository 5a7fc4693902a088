// Long random mutation runs of the report file loader and the picture
// player over the small corpus in corpus/: every damaged input must end in a
// page, an empty page or EReportError, never another failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ByteMutation.h"
#include "EReportError.h"
#include "EmfPlayer.h"
#include "RecordingCanvas.h"
#include "TRepPageList.h"

namespace fs = std::filesystem;

namespace {

const fs::path Corpus = fs::path(ARSIPSTAF_SOURCE_DIR) / "tests/reports/corpus";

std::vector<std::uint8_t> readFile(const fs::path& path)
{
    return ByteMutation::readFile(path.string());
}

using ByteMutation::mutate;

void playSafely(const std::vector<std::uint8_t>& picture)
{
    RecordingCanvas canvas;
    try {
        EmfPlayer::play(picture, canvas);
    } catch (const EReportError&) {
    }
}

TEST(LoaderMutation, DamagedReportFilesFailCleanly)
{
    const fs::path file = fs::temp_directory_path() / ("mutated-" + std::to_string(::getpid()) + ".rpf");
    std::mt19937 rng(20240601);
    int loaded = 0, pages = 0;
    for (const char* name : {"plain.rpf", "coded.rpf", "old124.rpf"}) {
        const std::vector<std::uint8_t> original = readFile(Corpus / name);
        ASSERT_FALSE(original.empty()) << name;
        for (int round = 0; round < 1500; ++round) {
            std::vector<std::uint8_t> bytes = original;
            mutate(bytes, rng);
            std::ofstream(file, std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            TRepPageList list;
            try {
                list.loadFromFile(file.string());
            } catch (const EReportError&) {
                continue;
            }
            ++loaded;
            const int count = list.PageCount();
            for (int k = 0; k < count + 2; ++k) {
                const int n = static_cast<int>(rng() % static_cast<unsigned>(count + 2));
                try {
                    if (auto picture = list.getPage(n)) {
                        ++pages;
                        playSafely(*picture);
                    }
                } catch (const EReportError&) {
                }
            }
        }
    }
    fs::remove(file);
    EXPECT_GT(loaded, 100);  // the mutations reach past the header checks
    EXPECT_GT(pages, 100);
}

TEST(PlayerMutation, DamagedPicturesFailCleanly)
{
    const std::vector<std::uint8_t> original = readFile(Corpus / "page.emf");
    ASSERT_FALSE(original.empty());
    std::mt19937 rng(7);
    int played = 0;
    for (int round = 0; round < 30000; ++round) {
        std::vector<std::uint8_t> bytes = original;
        mutate(bytes, rng);
        RecordingCanvas canvas;
        try {
            EmfPlayer::play(bytes, canvas);
            ++played;
        } catch (const EReportError&) {
        }
    }
    EXPECT_GT(played, 1000);
}

}  // namespace
