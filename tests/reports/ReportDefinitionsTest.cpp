#include <gtest/gtest.h>

#include <array>

#include "ReportDefinitions.h"
#include "TRepLabel.h"

// The page, band and control values of the program's reports, in the stored
// order of each value array: a value filed under the wrong name moves every
// page and band of the printed reports.

namespace {
using Maker = std::unique_ptr<TBandReport> (*)(TDataSet*);

struct DefinitionCase {
    const char* name;
    Maker make;
    double firstColumn;  // the first data text's width: to 1 mm before the next
};

std::ostream& operator<<(std::ostream& os, const DefinitionCase& c)
{
    return os << c.name;
}

const PrintableText* control(const TBandReport& report, const std::string& name)
{
    for (const auto& band : report.bands())
        for (const auto& c : band->controls())
            if (c->Name == name)
                return c.get();
    return nullptr;
}
}  // namespace

class ReportDefinitionTest : public ::testing::TestWithParam<DefinitionCase> {};

TEST_P(ReportDefinitionTest, LegalLandscapeWithTenMillimetreMarginsAndFullWidthBands)
{
    auto report = GetParam().make(nullptr);
    EXPECT_EQ(report->Page.PaperSize(), TRepPaperSize::Legal);
    EXPECT_EQ(report->Page.Orientation(), TRepOrientation::poLandscape);
    // Bottom margin, length, top margin, width, left and right margins, column space.
    const std::array<double, 7> page = {100, 2159, 100, 3556, 100, 100, 0};
    EXPECT_EQ(report->Page.Values, page);
    EXPECT_TRUE(report->Options.FirstPageHeader);
    EXPECT_TRUE(report->Options.LastPageFooter);
    EXPECT_FALSE(report->Options.Compression);
    EXPECT_EQ(report->Font.Name, "Arial");
    EXPECT_EQ(report->Font.Size, 10);
    EXPECT_FALSE(report->Font.Bold);
    EXPECT_FALSE(report->Font.Italic);
    ASSERT_FALSE(report->bands().empty());
    for (const auto& band : report->bands())
        EXPECT_EQ(band->Values[TRepBand::WidthValue], 3356) << band->Name;
}

TEST_P(ReportDefinitionTest, ControlsStandWhereDesignedInTenthsOfAMillimetre)
{
    auto report = GetParam().make(nullptr);
    // Height, left, top, width: the title's first line, the first column
    // title and the first data text.
    const PrintableText* firstTitleLine = control(*report, "RepLabel1");
    ASSERT_NE(firstTitleLine, nullptr);
    EXPECT_EQ(firstTitleLine->Values, (std::array<double, 4>{45, 106, 21, 0}));
    const PrintableText* firstColumnTitle = control(*report, "RepLabel6");
    ASSERT_NE(firstColumnTitle, nullptr);
    EXPECT_EQ(firstColumnTitle->Values, (std::array<double, 4>{45, 85, 42, 0}));
    const PrintableText* firstText = control(*report, "RepDBText1");
    ASSERT_NE(firstText, nullptr);
    EXPECT_EQ(firstText->Values[PrintableText::HeightValue], 45);
    EXPECT_EQ(firstText->Values[PrintableText::TopValue], 42);
    EXPECT_DOUBLE_EQ(firstText->Values[PrintableText::WidthValue], GetParam().firstColumn);
    // values wrap within their column and the record's band grows whole
    EXPECT_FALSE(firstText->AutoSize);
    EXPECT_TRUE(firstText->AutoStretch);
    EXPECT_TRUE(report->findBand(TRepBandType::rbDetail)->keepTogether);
}

INSTANTIATE_TEST_SUITE_P(Reports, ReportDefinitionTest,
                         ::testing::Values(DefinitionCase{"Form9", ReportDefinitions::Form9, 350},
                                           DefinitionCase{"Form10", ReportDefinitions::Form10, 350},
                                           DefinitionCase{"Form11", ReportDefinitions::Form11, 434}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Form8Report, A4PortraitWithTenMillimetreMargins)
{
    auto report = ReportDefinitions::Form8();
    EXPECT_EQ(report->Page.PaperSize(), TRepPaperSize::A4);
    EXPECT_EQ(report->Page.Orientation(), TRepOrientation::poPortrait);
    const std::array<double, 7> page = {100, 2970, 100, 2100, 100, 100, 0};
    EXPECT_EQ(report->Page.Values, page);
    ASSERT_EQ(report->bands().size(), 1u);
    EXPECT_EQ(report->bands()[0]->Values[TRepBand::HeightValue], 106);
    EXPECT_EQ(report->bands()[0]->Values[TRepBand::WidthValue], 1900);
}
