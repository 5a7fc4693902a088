#include <gtest/gtest.h>

#include <cmath>

#include "EReportError.h"
#include "ReportDefinitions.h"
#include "ReportTestData.h"
#include "TRepLabel.h"

namespace {

// A report over the employee table with bands of chosen heights.
std::unique_ptr<TBandReport> reportWith(TDataSet* data, std::vector<std::pair<TRepBandType, double>> bands)
{
    auto report = std::make_unique<TBandReport>();
    report->DataSet = data;
    report->Page.setPaperSize(TRepPaperSize::Legal);
    report->Page.setOrientation(TRepOrientation::poLandscape);
    report->Page.Values = TRepPage::stored(
        {.width = 3556, .length = 2159, .topMargin = 100, .bottomMargin = 100, .leftMargin = 100, .rightMargin = 100});
    int n = 1;
    for (auto [type, height] : bands) {
        auto band = std::make_unique<TRepBand>("RepBand" + std::to_string(n++), type);
        band->Values = {height, 3356};
        auto label = std::make_unique<TRepLabel>("RepLabel" + std::to_string(n));
        label->Caption = "band " + std::to_string(n - 1);
        label->Values = {45, 10, 10, 0};
        band->add(std::move(label));
        report->addBand(std::move(band));
    }
    return report;
}

TEST(BandRules, BandTallerThanAPagePrintsWhereItStands)
{
    ReportTestData data;
    data.addEmployees(3);
    auto report = reportWith(&data.module.Tdatapeg, {{TRepBandType::rbTitle, 241}, {TRepBandType::rbDetail, 2500}});
    std::vector<std::pair<int, double>> details;
    report->findBand(TRepBandType::rbDetail)->AfterPrint = [&](const TRepBand& b, bool) {
        const ReportRun* run = report->ActiveRun();
        details.push_back({run->PageCount(), std::round(run->CurrentY() - b.Values[0])});
    };
    TRepPrinter destination;
    report->RunReport(destination);
    // never a forced page for it: each record's band follows the last one
    EXPECT_EQ(details, (std::vector<std::pair<int, double>>{{1, 341}, {1, 2841}, {1, 5341}}));
    EXPECT_EQ(destination.PageCount(), 1);
}

TEST(BandRules, GroupFooterAndSubDetailNeverPrint)
{
    ReportTestData data;
    data.addEmployees(20);
    auto report = reportWith(&data.module.Tdatapeg, {{TRepBandType::rbGroupHeader, 50},
                                                     {TRepBandType::rbGroupFooter, 50},
                                                     {TRepBandType::rbSubDetail, 50},
                                                     {TRepBandType::rbDetail, 106}});
    int printed = 0;
    for (const auto& band : report->bands())
        if (band->BandType != TRepBandType::rbDetail) {
            band->BeforePrint = [&](const TRepBand&, bool&) { ++printed; };
            band->AfterPrint = [&](const TRepBand&, bool) { ++printed; };
        }
    TRepPrinter destination;
    report->RunReport(destination);
    EXPECT_EQ(printed, 0);
    EXPECT_GE(destination.PageCount(), 2);
}

struct MarginCase {
    const char* name;
    std::array<double, 7> values;    // bottom, length, top, width, left, right, space
    std::array<double, 4> expected;  // bottom, top, left, right in the run
};

class MarginSanity : public testing::TestWithParam<MarginCase> {};

// The run lays out on zero margins; the report keeps its own.
TEST_P(MarginSanity, MarginsExceedingThePageCountAsZeroForTheRun)
{
    auto report = ReportDefinitions::Form8();
    report->Page.setPaperSize(TRepPaperSize::Custom);
    report->Page.Values = GetParam().values;
    std::array<double, 7> v{};
    report->OnStartPage = [&](const TBandReport& r) { v = r.ActiveRun()->PageValues(); };
    TRepPrinter destination;
    report->RunReport(destination);
    EXPECT_EQ((std::array<double, 4>{v[TRepPage::BottomMarginValue], v[TRepPage::TopMarginValue],
                                     v[TRepPage::LeftMarginValue], v[TRepPage::RightMarginValue]}),
              GetParam().expected);
    EXPECT_EQ(report->Page.Values, GetParam().values);
    EXPECT_EQ(destination.PageCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Page, MarginSanity,
    testing::Values(MarginCase{"Fitting", {100, 2970, 100, 2100, 100, 100, 0}, {100, 100, 100, 100}},
                    MarginCase{"TooWide", {100, 2970, 100, 2100, 1500, 700, 0}, {100, 100, 0, 0}},
                    MarginCase{"TooTall", {2000, 2970, 1000, 2100, 100, 100, 0}, {0, 0, 100, 100}},
                    MarginCase{"ExactlyFull", {1485, 2970, 1485, 2100, 1050, 1050, 0}, {1485, 1485, 1050, 1050}},
                    MarginCase{"Both", {3000, 2970, 1, 2100, 2101, 0, 0}, {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BandRules, LegalLandscapeBreaksWhenTheBandPassesTheBottomMargin)
{
    // printable height 215.9 - 20 mm: a 10.58 mm band fits at 195.32 mm and not beyond
    ReportTestData data;
    data.addEmployees(1);
    auto report = ReportDefinitions::Form9(&data.module.Tdatapeg);
    TRepPrinter destination;
    TRepBand* detail = report->findBand(TRepBandType::rbDetail);
    detail->Values[0] = 105.8;
    std::vector<double> spaceLeft;
    detail->BeforePrint = [&](const TRepBand&, bool&) { spaceLeft.push_back(report->SpaceLeft()); };
    report->RunReport(destination);
    ASSERT_EQ(spaceLeft.size(), 1u);
    EXPECT_NEAR(spaceLeft[0], 2159 - 100 - 341 - 106, 1e-9);
    EXPECT_DOUBLE_EQ(report->SpaceLeft(), 0);  // no run active
}

TEST(TRepPrinter, MisuseIsReported)
{
    TRepPrinter destination;
    try {
        destination.NewPage();
        FAIL();
    } catch (const EReportError& e) {
        EXPECT_STREQ(e.what(), "Illegal call to NewPage");
    }
    destination.OpenDocument();
    try {
        destination.OpenDocument();
        FAIL();
    } catch (const EReportError& e) {
        EXPECT_STREQ(e.what(), "Report printer not ready");
    }
    destination.NewPage();
    destination.FinishDocument();
    EXPECT_THROW(destination.OpenDocument(), EReportError);  // finished, not cleared
    EXPECT_EQ(destination.GetPage(1).has_value(), true);
    EXPECT_EQ(destination.GetPage(2).has_value(), false);
    destination.Clear();
    EXPECT_FALSE(destination.GetPage(1).has_value());
    EXPECT_NO_THROW(destination.OpenDocument());
}

TEST(BandRules, CancelledRunAbortsAndKeepsWhatWasDrawn)
{
    ReportTestData data;
    data.addEmployees(40);
    auto report = ReportDefinitions::Form9(&data.module.Tdatapeg);
    TRepPrinter destination;
    int records = 0;
    report->findBand(TRepBandType::rbDetail)->AfterPrint = [&](const TRepBand&, bool) {
        if (++records == 20)
            report->Cancel();
    };
    EXPECT_FALSE(report->RunReport(destination));
    EXPECT_EQ(records, 20);
    EXPECT_EQ(destination.status(), TRepPrinter::Status::Finished);
    EXPECT_EQ(destination.PageCount(), 2);
    EXPECT_TRUE(report->Available());
    EXPECT_TRUE(destination.GetPage(2).has_value());
}

TEST(TRepPage, PaperSizesAndOrientation)
{
    TRepPage page;
    page.setPaperSize(TRepPaperSize::Legal);
    EXPECT_DOUBLE_EQ(page.Values[TRepPage::WidthValue], 2159);
    EXPECT_DOUBLE_EQ(page.Values[TRepPage::LengthValue], 3556);
    page.setOrientation(TRepOrientation::poLandscape);
    EXPECT_DOUBLE_EQ(page.Values[TRepPage::WidthValue], 3556);
    EXPECT_DOUBLE_EQ(page.Values[TRepPage::LengthValue], 2159);
    page.Units = TRepUnits::MM;
    page.setWidth(100);  // not Custom: ignored
    EXPECT_DOUBLE_EQ(page.Width(), 355.6);
    page.Units = TRepUnits::Inches;
    EXPECT_DOUBLE_EQ(page.Width(), 14);
    page.setPaperSize(TRepPaperSize::Custom);
    page.setWidth(2);
    EXPECT_DOUBLE_EQ(page.Values[TRepPage::WidthValue], 508);
    page.setColumns(0);
    EXPECT_EQ(page.Columns(), 1);
}

}  // namespace
