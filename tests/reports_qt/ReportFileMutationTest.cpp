// Damaged report files through the program's own path: the printer object's
// loader (which also reads the first page's size), then every page through
// the Qt page painter, as the preview shows them. Every damaged input must
// end in pages, an empty page or EReportError, never another failure; run
// under the sanitizers, no overflow or bad access either.
#include "ByteMutation.h"
#include "Crc32.h"
#include "EReportError.h"
#include "EmfPlayer.h"
#include "EmfWriter.h"
#include "LittleEndian.h"
#include "PagePainter.h"
#include "TRepPageList.h"
#include "TRepPrinter.h"

#include <QImage>
#include <QPainter>
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const fs::path Corpus = fs::path(ARSIPSTAF_SOURCE_DIR) / "tests/reports/corpus";

class ReportFile {
public:
    ReportFile() : path_(fs::temp_directory_path() / ("painted-" + std::to_string(::getpid()) + ".rpf")) {}
    ~ReportFile() { fs::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    fs::path path_;
};

// Paints page n onto a small white image; false when the page raised.
bool paintPage(TRepPrinter& printer, int n, QImage& image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    try {
        if (auto picture = printer.GetPage(n))
            PagePainter::paint(painter, *picture, QRectF(0, 0, image.width(), image.height()));
        return true;
    } catch (const EReportError&) {
        return false;
    }
}

bool allWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                return false;
    return true;
}

// A one-page report file whose page claims these bounds and holds a red
// rectangle at the far corner of the int range.
void saveWithBounds(const std::string& path, std::int32_t left, std::int32_t top, std::int32_t right,
                    std::int32_t bottom)
{
    EmfWriter writer(2100, 2970, 96);
    writer.rectangle({INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX}, PagePen{PageColor::black(), 1, false},
                     PageBrush{{255, 0, 0}, true});
    writer.rectangle({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, PagePen{PageColor::black(), 1, true},
                     PageBrush{{255, 0, 0}, false});
    std::vector<std::uint8_t> page = writer.finish();
    for (size_t at : {8u, 24u}) {  // the bounds, then the frame
        LittleEndian::set32(page.data() + at, static_cast<std::uint32_t>(left));
        LittleEndian::set32(page.data() + at + 4, static_cast<std::uint32_t>(top));
        LittleEndian::set32(page.data() + at + 8, static_cast<std::uint32_t>(right));
        LittleEndian::set32(page.data() + at + 12, static_cast<std::uint32_t>(bottom));
    }
    // sealed again over the new bounds, as a writer of such pages would
    const size_t seal = page.size() - 40;
    LittleEndian::set32(page.data() + seal + 16, Crc32::of(std::span(page.data(), seal)));
    TRepPageList list;
    list.open();
    list.addPage(page);
    list.finish();
    list.saveToFile(path);
}

}  // namespace

TEST(ReportFileBounds, PageAtTheIntLimitsLoadsAndPaintsWithoutOverflow)
{
    ReportFile file;
    saveWithBounds(file.path(), INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    TRepPrinter printer;
    printer.Load(file.path());
    ASSERT_EQ(printer.PageCount(), 1);
    const EmfPictureInfo info = EmfPlayer::info(*printer.GetPage(1));
    EXPECT_EQ(info.widthPixels(), std::int64_t(1) << 32);
    EXPECT_EQ(info.heightPixels(), std::int64_t(1) << 32);
    EXPECT_DOUBLE_EQ(info.widthTenthsMm(), double((std::int64_t(1) << 32) - 1) / 10.0);
    QImage image(80, 113, QImage::Format_RGB32);
    EXPECT_TRUE(paintPage(printer, 1, image));
}

TEST(ReportFileBounds, PageWithInvertedLimitBoundsPaintsNothing)
{
    // right - left + 1 wraps to a small positive width in 32 bits; in a wider
    // type it is negative and the page is empty.
    ReportFile file;
    saveWithBounds(file.path(), INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    TRepPrinter printer;
    printer.Load(file.path());
    const EmfPictureInfo info = EmfPlayer::info(*printer.GetPage(1));
    EXPECT_LT(info.widthPixels(), 0);
    QImage image(80, 113, QImage::Format_RGB32);
    ASSERT_TRUE(paintPage(printer, 1, image));
    EXPECT_TRUE(allWhite(image));
}

TEST(ReportFileMutation, DamagedFilesLoadThroughThePrinterAndPaintCleanly)
{
    ReportFile file;
    std::mt19937 rng(20261207);
    int loaded = 0, painted = 0;
    QImage image(60, 85, QImage::Format_RGB32);
    for (const char* name : {"plain.rpf", "coded.rpf", "old124.rpf"}) {
        const std::vector<std::uint8_t> original = ByteMutation::readFile((Corpus / name).string());
        ASSERT_FALSE(original.empty()) << name;
        for (int round = 0; round < 400; ++round) {
            std::vector<std::uint8_t> bytes = original;
            ByteMutation::mutate(bytes, rng);
            ByteMutation::writeFile(file.path(), bytes);
            TRepPrinter printer;
            try {
                printer.Load(file.path());
            } catch (const EReportError&) {
                continue;
            }
            ++loaded;
            for (int n = 0; n <= printer.PageCount() + 1; ++n)
                painted += paintPage(printer, n, image) ? 1 : 0;
        }
    }
    EXPECT_GT(loaded, 100);  // the mutations reach past the header checks
    EXPECT_GT(painted, 100);
}
