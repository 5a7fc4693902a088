#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "EReportError.h"
#include "EmfPlayer.h"
#include "EmfWriter.h"
#include "PagePainter.h"
#include "QtTextMeasurer.h"
#include "RegionalSettings.h"
#include "ReportDefinitions.h"
#include "TDMarsipstaf.h"
#include "TRepPrinter.h"
#include "TempDatabase.h"

namespace fs = std::filesystem;

namespace {

struct MetricCase {
    const char* name;
    ReportFont font;
    std::u16string text;
    double width;  // tenths of a millimetre
    double lineHeight;
};

class LiberationMetrics : public testing::TestWithParam<MetricCase> {};

// Widths from the fonts' advance tables: "W" is 1933/2048 em in the sans,
// 1933/2048 in the serif as well; line height is ascent plus descent.
TEST_P(LiberationMetrics, MatchTheFontFiles)
{
    QtTextMeasurer measurer;
    const MetricCase& c = GetParam();
    ASSERT_FALSE(measurer.fileFor(c.font).isEmpty()) << "fonts-liberation is not installed";
    EXPECT_NEAR(measurer.width(c.font, c.text), c.width, 0.05);
    EXPECT_NEAR(measurer.lineHeight(c.font), c.lineHeight, 0.05);
}

constexpr double Pt = 254.0 / 72.0;

INSTANTIATE_TEST_SUITE_P(
    Fonts, LiberationMetrics,
    testing::Values(
        MetricCase{"ArialW", {"Arial", 10}, u"W", 1933.0 / 2048 * 10 * Pt, (1854.0 + 434) / 2048 * 10 * Pt},
        MetricCase{"ArialNip12pt",
                   {"Arial", 12},
                   u"NIP",
                   (1479.0 + 569 + 1366) / 2048 * 12 * Pt,
                   (1854.0 + 434) / 2048 * 12 * Pt},
        MetricCase{"TimesW", {"Times New Roman", 10}, u"W", 1933.0 / 2048 * 10 * Pt, (1825.0 + 443) / 2048 * 10 * Pt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QtTextMeasurer, BoldIsWiderAndEveryUnitHasAnAdvance)
{
    QtTextMeasurer measurer;
    const ReportFont regular{"Arial", 10}, bold{"Arial", 10, true};
    EXPECT_GT(measurer.width(bold, u"Nama Pegawai"), measurer.width(regular, u"Nama Pegawai"));
    EXPECT_EQ(measurer.advances(regular, u"a\U0001F600b").size(), 4u);
}

// Advances are kept per face and character once measured: a text measured
// again, after texts in other faces, sizes and a surrogate pair, measures as
// a measurer that never saw those does, and a face never lends its advances
// to another.
TEST(QtTextMeasurer, KeptAdvancesAreThoseOfTheirOwnFace)
{
    QtTextMeasurer measurer, fresh;
    const ReportFont regular{"Arial", 10}, bold{"Arial", 10, true}, serif{"Times New Roman", 12},
        mono{"Courier New", 9, false, true};
    const std::u16string text = u"Wil\u00E9 \U0001F600 mW";
    const std::vector<double> first = measurer.advances(regular, text);
    EXPECT_NE(measurer.advances(bold, text), first);
    EXPECT_NE(measurer.advances(serif, text), fresh.advances(regular, text));
    EXPECT_EQ(measurer.advances(serif, text), QtTextMeasurer().advances(serif, text));
    EXPECT_EQ(measurer.advances(mono, u"Wi"), QtTextMeasurer().advances(mono, u"Wi"));
    EXPECT_EQ(measurer.advances(regular, text), first);
    EXPECT_EQ(first, fresh.advances(regular, text));
    EXPECT_EQ(measurer.advances(ReportFont{"Arial", 20}, u"W")[0], 2 * first[0]);
}

QImage render(const std::vector<std::uint8_t>& picture, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter::paint(painter, picture, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

TEST(PagePainter, FillsAndTextLandWhereThePictureSays)
{
    EmfWriter writer(2100, 2970, 96);  // 794 x 1123 pixels
    writer.rectangle({100, 100, 200, 150}, PagePen{PageColor::black(), 1, false}, PageBrush{{255, 0, 0}, true});
    writer.text(PageText{{300, 300}, u"WWWW", {}, 0, PageColor::black()}, PageFont{"Arial", 40});
    const QImage image = render(writer.finish(), QSize(794, 1123));
    EXPECT_EQ(image.pixelColor(150, 125), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(99, 125), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(200, 125), QColor(Qt::white));
    int dark = 0;
    for (int y = 300; y < 345; ++y)
        for (int x = 300; x < 440; ++x)
            dark += image.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(dark, 200);
    EXPECT_EQ(image.pixelColor(300, 290), QColor(Qt::white));  // nothing above the text's top
}

TEST(PagePainter, DamagedPictureRaisesAndLeavesThePainterUsable)
{
    EmfWriter writer(2100, 2970, 96);
    writer.rectangle({0, 0, 10, 10}, PagePen{}, PageBrush{});
    std::vector<std::uint8_t> bytes = writer.finish();
    bytes.resize(bytes.size() - 10);
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_THROW(PagePainter::paint(painter, bytes, QRectF(0, 0, 100, 100)), EReportError);
    EXPECT_TRUE(painter.isActive());
}

// Pages saved, loaded and painted equal the pages drawn, with the real fonts.
TEST(ReportRoundTrip, SavedLoadedAndPaintedPagesEqualTheDrawnOnes)
{
    RegionalSettings::current() = RegionalSettings::fromDateFormat("%d/%m/%Y");
    TempDatabase database;
    TDMarsipstaf module;
    module.Loaded();
    for (int n = 1; n <= 20; ++n) {
        module.Tdatapeg.Append();
        module.TdatapegNIP->SetAsString("19800000" + std::to_string(10 + n));
        module.TdatapegNama_Pegawai->SetAsString("Pegawai " + std::to_string(n));
        module.TdatapegKd_Agama->SetAsString("02");
        module.Tdatapeg.Post();
    }
    QtTextMeasurer measurer;
    for (bool coded : {false, true}) {
        auto report = ReportDefinitions::Form10(&module.Tdatapeg);
        report->Measurer = &measurer;
        report->Options.Compression = coded;
        TRepPrinter destination;
        report->RunReport(destination);
        ASSERT_EQ(destination.PageCount(), 2);
        const fs::path file = fs::path(database.root()) / (coded ? "coded.rpf" : "plain.rpf");
        destination.Save(file.string());

        TRepPrinter loaded;
        loaded.Load(file.string());
        EXPECT_TRUE(loaded.ReportLoaded());
        EXPECT_EQ(loaded.PaperSize, TRepPaperSize::Legal);
        EXPECT_EQ(loaded.Orientation, TRepOrientation::poLandscape);
        for (int page = 1; page <= 2; ++page) {
            const auto drawn = destination.GetPage(page);
            const auto read = loaded.GetPage(page);
            ASSERT_TRUE(drawn && read);
            EXPECT_EQ(*drawn, *read);
            const QImage a = render(*drawn, QSize(1344, 816));
            const QImage b = render(*read, QSize(1344, 816));
            EXPECT_EQ(a, b) << "page " << page;
            // something was drawn besides the white band fills
            int dark = 0;
            for (int y = 0; y < a.height(); y += 2)
                for (int x = 0; x < a.width(); x += 2)
                    dark += a.pixelColor(x, y).lightness() < 100;
            EXPECT_GT(dark, 100) << "page " << page;
        }
    }
}

}  // namespace
