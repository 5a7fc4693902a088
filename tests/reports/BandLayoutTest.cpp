// Word wrap, stretching texts, columns, forced breaks, bands at the bottom
// and the report's own frame, read back from the stored page pictures.
#include <gtest/gtest.h>

#include <ostream>

#include "EmfPlayer.h"
#include "RecordingCanvas.h"
#include "ReportTestData.h"
#include "TBandReport.h"
#include "TRepDBText.h"
#include "TRepLabel.h"
#include "Utf16.h"

namespace {

// Every UTF-16 unit 1 mm wide and every line 4 mm high, so positions come out round.
class GridMeasurer : public TextMeasurer {
public:
    std::vector<double> advances(const ReportFont&, std::u16string_view text) const override
    {
        return std::vector<double>(text.size(), 10);
    }
    double lineHeight(const ReportFont&) const override { return 40; }
};

// A text as a stored page shows it.
struct Placed {
    int page;
    int x, y;
    std::string text;
    bool operator==(const Placed&) const = default;
};

void PrintTo(const Placed& p, std::ostream* out)
{
    *out << "{page " << p.page << ", " << p.x << ", " << p.y << ", \"" << p.text << "\"}";
}

using Placements = std::vector<Placed>;

// The pictures of a destination, played back.
std::vector<RecordingCanvas> pagesOf(TRepPrinter& destination)
{
    std::vector<RecordingCanvas> pages(static_cast<size_t>(destination.PageCount()));
    for (int n = 1; n <= destination.PageCount(); ++n)
        EmfPlayer::play(*destination.GetPage(n), pages[static_cast<size_t>(n) - 1]);
    return pages;
}

Placements textsOf(TRepPrinter& destination)
{
    Placements out;
    int page = 0;
    for (const RecordingCanvas& canvas : pagesOf(destination)) {
        ++page;
        for (const RecordingCanvas::Call& c : canvas.calls)
            if (c.kind == RecordingCanvas::Kind::Text)
                out.push_back({page, c.text.origin.x, c.text.origin.y, utf16ToUtf8(c.text.chars)});
    }
    return out;
}

// A report on a 100 x 100 mm custom paper with 10 mm margins, drawn into a
// page store at one device pixel per tenth of a millimetre.
struct Layout {
    TBandReport report;
    GridMeasurer measurer;
    TRepPrinter destination;

    Layout()
    {
        report.Measurer = &measurer;
        report.Page.setPaperSize(TRepPaperSize::Custom);
        report.Page.Values = TRepPage::stored({.width = 1000,
                                               .length = 1000,
                                               .topMargin = 100,
                                               .bottomMargin = 100,
                                               .leftMargin = 100,
                                               .rightMargin = 100});
        destination.ScreenPixelsPerInch = 254;
    }

    void columns(int count, double space)
    {
        report.Page.setColumns(count);
        report.Page.Values[TRepPage::ColumnSpaceValue] = space;
    }

    TRepBand* band(TRepBandType type, double height)
    {
        auto band = std::make_unique<TRepBand>("RepBand" + std::to_string(report.bands().size() + 1), type);
        band->Values = {height, 800};
        return report.addBand(std::move(band));
    }

    // A fixed text at the band's top-left corner.
    TRepLabel* label(TRepBand* band, const std::string& caption)
    {
        auto label = band->add(std::make_unique<TRepLabel>("RepLabel" + caption));
        label->Caption = caption;
        label->Values = {40, 0, 0, 300};
        return label;
    }

    // The name of the employee of each record.
    void names(TRepBand* band, TDataSet& data)
    {
        auto text = band->add(std::make_unique<TRepDBText>("RepDBText1"));
        text->DataSet = &data;
        text->DataField = "Nama_Pegawai";
        text->Values = {40, 0, 0, 300};
    }

    Placements run()
    {
        report.RunReport(destination);
        EXPECT_EQ(destination.status(), TRepPrinter::Status::Finished);
        EXPECT_FALSE(destination.Incomplete());
        return textsOf(destination);
    }
};

std::string employee(int n)
{
    return "Pegawai " + ReportTestData::numbered(n, 5);
}

// ---- Lines of one text ----

struct TextCase {
    const char* name;
    std::string caption;
    double width, height;
    TRepAlignment alignment;
    bool autoSize, wordWrap, autoStretch;
    Placements expected;  // the text's lines, then the summary under the detail band
};

class TextLines : public testing::TestWithParam<TextCase> {};

// The detail band (10 mm) prints once, on an empty form, with the text 1 mm
// from its top-left corner; the summary follows the band or its stretch.
TEST_P(TextLines, BreakAndPlaceTheLines)
{
    const TextCase& c = GetParam();
    Layout layout;
    TRepBand* detail = layout.band(TRepBandType::rbDetail, 100);
    TRepLabel* text = layout.label(detail, c.caption);
    text->Values = {c.height, 10, 10, c.width};
    text->Alignment = c.alignment;
    text->AutoSize = c.autoSize;
    text->WordWrap = c.wordWrap;
    text->AutoStretch = c.autoStretch;
    layout.label(layout.band(TRepBandType::rbSummary, 50), "akhir");
    EXPECT_EQ(layout.run(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, TextLines,
    testing::Values(
        TextCase{"WordWiderThanTheControlIsCutByCharacters",
                 "ab abcdefghijklmn cd",
                 60,
                 40,
                 TRepAlignment::taLeftJustify,
                 false,
                 true,
                 true,
                 {{1, 110, 110, "ab"},
                  {1, 110, 150, "abcdef"},
                  {1, 110, 190, "ghijkl"},
                  {1, 110, 230, "mn cd"},
                  {1, 100, 270, "akhir"}}},
        // each of these letters is two UTF-16 units, 2 mm wide here
        TextCase{"CutNeverSplitsALetterOutsideTheBasicPlane",
                 "\U0001D400\U0001D401\U0001D402",
                 30,
                 40,
                 TRepAlignment::taLeftJustify,
                 false,
                 true,
                 true,
                 {{1, 110, 110, "\U0001D400"},
                  {1, 110, 150, "\U0001D401"},
                  {1, 110, 190, "\U0001D402"},
                  {1, 100, 230, "akhir"}}},
        TextCase{"LetterWiderThanTheControlIsKeptWhole",
                 "\U0001D400\U0001D401",
                 10,
                 40,
                 TRepAlignment::taLeftJustify,
                 false,
                 true,
                 true,
                 {{1, 110, 110, "\U0001D400"}, {1, 110, 150, "\U0001D401"}, {1, 100, 200, "akhir"}}},
        TextCase{"WordsFillALineWhileItFits",
                 "satu dua tiga empat",
                 90,
                 40,
                 TRepAlignment::taLeftJustify,
                 false,
                 true,
                 true,
                 {{1, 110, 110, "satu dua"}, {1, 110, 150, "tiga"}, {1, 110, 190, "empat"}, {1, 100, 230, "akhir"}}},
        TextCase{"CarriageReturnsStartLinesAndLineFeedsAreDropped",
                 "satu\r\ndua",
                 90,
                 40,
                 TRepAlignment::taLeftJustify,
                 false,
                 true,
                 true,
                 {{1, 110, 110, "satu"}, {1, 110, 150, "dua"}, {1, 100, 200, "akhir"}}},
        TextCase{"WithoutWordWrapTheRestOfTheLineIsDropped",
                 "ab abcdefghijklmn\rcd ef",
                 60,
                 40,
                 TRepAlignment::taLeftJustify,
                 false,
                 false,
                 true,
                 {{1, 110, 110, "ab"}, {1, 110, 150, "cd ef"}, {1, 100, 200, "akhir"}}},
        TextCase{"WithoutWordWrapAWideFirstWordIsCut",
                 "abcdefghij klm",
                 60,
                 40,
                 TRepAlignment::taLeftJustify,
                 false,
                 false,
                 true,
                 {{1, 110, 110, "abcdef"}, {1, 100, 200, "akhir"}}},
        TextCase{"WithoutStretchOnlyTheLinesThatFitPrint",
                 "ab abcdefghijklmn cd",
                 60,
                 80,
                 TRepAlignment::taLeftJustify,
                 false,
                 true,
                 false,
                 {{1, 110, 110, "ab"}, {1, 110, 150, "abcdef"}, {1, 100, 200, "akhir"}}},
        TextCase{"AutoSizeKeepsEachLineWhole",
                 "abcdefghijklmn\rxy",
                 60,
                 40,
                 TRepAlignment::taLeftJustify,
                 true,
                 true,
                 true,
                 {{1, 110, 110, "abcdefghijklmn"}, {1, 110, 150, "xy"}, {1, 100, 200, "akhir"}}},
        // autosized, the right edge stays put: 11 + 6 - 9 mm
        TextCase{"AutoSizeRightJustifiedKeepsTheRightEdge",
                 "abcdefghi\rxy",
                 60,
                 40,
                 TRepAlignment::taRightJustify,
                 true,
                 true,
                 true,
                 {{1, 80, 110, "abcdefghi"}, {1, 150, 150, "xy"}, {1, 100, 200, "akhir"}}},
        TextCase{"RightJustifiedLinesEndAtTheRightEdge",
                 "satu dua tiga",
                 100,
                 40,
                 TRepAlignment::taRightJustify,
                 false,
                 true,
                 true,
                 {{1, 130, 110, "satu dua"}, {1, 170, 150, "tiga"}, {1, 100, 200, "akhir"}}},
        TextCase{"CentredLinesShareTheRoomLeftAndRight",
                 "satu dua tiga",
                 100,
                 40,
                 TRepAlignment::taCenter,
                 false,
                 true,
                 true,
                 {{1, 120, 110, "satu dua"}, {1, 140, 150, "tiga"}, {1, 100, 200, "akhir"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- A stretching text continued on the next pages ----

struct StretchCase {
    const char* name;
    int lines;
    std::vector<int> perPage;  // lines of the long text on each page
};

class StretchOnNextPage : public testing::TestWithParam<StretchCase> {};

// A page header (5 mm) and footer (5 mm) on every page; a title of 60 mm
// leaves the detail band at 75 mm, with room for two lines above the footer.
// The long text goes on under the page header of each next page, the short
// one beside it too; the summary follows the last line.
TEST_P(StretchOnNextPage, EveryLineLandsOnceInOrder)
{
    const StretchCase& c = GetParam();
    Layout layout;
    layout.label(layout.band(TRepBandType::rbPageHeader, 50), "kepala");
    layout.label(layout.band(TRepBandType::rbTitle, 600), "judul");
    layout.label(layout.band(TRepBandType::rbPageFooter, 50), "kaki");
    TRepBand* detail = layout.band(TRepBandType::rbDetail, 100);
    std::string text;
    for (int n = 1; n <= c.lines; ++n)
        text += (n > 1 ? "\r" : "") + std::string("baris ") + std::to_string(n);
    TRepLabel* longText = layout.label(detail, text);
    longText->AutoSize = false;
    longText->AutoStretch = true;
    TRepLabel* shortText = layout.label(detail, "x1\rx2\rx3");
    shortText->Values[PrintableText::LeftValue] = 400;
    shortText->AutoStretch = true;
    layout.label(layout.band(TRepBandType::rbSummary, 50), "akhir");

    Placements expected;
    int line = 1, y = 0, page = 0;
    for (int lines : c.perPage) {
        ++page;
        expected.push_back({page, 100, 100, "kepala"});
        y = 150;
        if (page == 1) {
            expected.push_back({page, 100, 150, "judul"});
            y = 750;
        }
        for (int n = 0; n < lines; ++n, ++line, y += 40)
            expected.push_back({page, 100, y, "baris " + std::to_string(line)});
        if (page == 1) {
            expected.push_back({page, 500, 750, "x1"});
            expected.push_back({page, 500, 790, "x2"});
        } else if (page == 2) {
            expected.push_back({page, 500, 150, "x3"});
        }
        if (page < static_cast<int>(c.perPage.size()))
            expected.push_back({page, 100, 850, "kaki"});
    }
    // the summary (5 mm) follows the last line, or opens a page of its own
    if (y + 50 > 850) {
        expected.push_back({page, 100, 850, "kaki"});
        ++page;
        expected.push_back({page, 100, 100, "kepala"});
        y = 150;
    }
    expected.push_back({page, 100, y, "akhir"});
    expected.push_back({page, 100, 850, "kaki"});
    ASSERT_EQ(line - 1, c.lines);
    EXPECT_EQ(layout.run(), expected);
    EXPECT_EQ(layout.destination.PageCount(), page);
}

INSTANTIATE_TEST_SUITE_P(Layout, StretchOnNextPage,
                         testing::Values(StretchCase{"OntoASecondPage", 10, {2, 8}},
                                         // 70 mm between header and footer hold 17 lines
                                         StretchCase{"FillingTheSecondPage", 19, {2, 17}},
                                         StretchCase{"OverThreePages", 25, {2, 17, 6}}),
                         [](const auto& info) { return std::string(info.param.name); });

// With two columns the text goes on at the top of the next column, which on
// page 1 is under the title, and the next band follows it there.
TEST(StretchInColumns, TextGoesOnInTheNextColumn)
{
    Layout layout;
    layout.columns(2, 100);
    TRepBand* title = layout.band(TRepBandType::rbTitle, 600);
    layout.label(title, "judul");
    TRepBand* detail = layout.band(TRepBandType::rbDetail, 100);
    TRepLabel* text = layout.label(detail, "b1\rb2\rb3\rb4\rb5\rb6\rb7\rb8");
    text->AutoStretch = true;
    {
        ReportRun run(layout.report, layout.destination);
        ASSERT_TRUE(run.Begin());
        run.EmitBand(title);
        run.EmitBand(detail);
        EXPECT_EQ(run.CurrentColumn(), 2);
        EXPECT_DOUBLE_EQ(run.CurrentY(), 820);
        text->Caption = "sesudah";
        run.EmitBand(detail);
        run.End();
    }
    EXPECT_EQ(textsOf(layout.destination), (Placements{{1, 100, 100, "judul"},
                                                       {1, 100, 700, "b1"},
                                                       {1, 100, 740, "b2"},
                                                       {1, 100, 780, "b3"},
                                                       {1, 100, 820, "b4"},
                                                       {1, 100, 860, "b5"},
                                                       {1, 550, 700, "b6"},
                                                       {1, 550, 740, "b7"},
                                                       {1, 550, 780, "b8"},
                                                       // 10 mm from 82 mm: no room left above the bottom margin
                                                       {2, 100, 100, "sesudah"}}));
}

// ---- Records in columns ----

// Two columns 35 mm wide, 10 mm apart. Page 1 holds the title over both
// columns; every column but the first of page 1 opens with the column header.
TEST(Columns, RecordsFillEachColumnDownThenTheNext)
{
    ReportTestData data;
    data.addEmployees(9);
    Layout layout;
    layout.columns(2, 100);
    layout.report.DataSet = &data.module.Tdatapeg;
    layout.label(layout.band(TRepBandType::rbTitle, 100), "judul");
    layout.label(layout.band(TRepBandType::rbColumnHeader, 50), "nama");
    layout.names(layout.band(TRepBandType::rbDetail, 200), data.module.Tdatapeg);
    std::vector<int> columns;
    layout.report.findBand(TRepBandType::rbDetail)->AfterPrint = [&](const TRepBand&, bool) {
        columns.push_back(std::stoi(layout.report.ActiveRun()->Functions().at("COLUMNNUMBER")));
    };
    EXPECT_EQ(layout.run(), (Placements{{1, 100, 100, "judul"},
                                        {1, 100, 200, "nama"},
                                        {1, 100, 250, employee(1)},
                                        {1, 100, 450, employee(2)},
                                        {1, 100, 650, employee(3)},
                                        {1, 550, 200, "nama"},
                                        {1, 550, 250, employee(4)},
                                        {1, 550, 450, employee(5)},
                                        {1, 550, 650, employee(6)},
                                        {2, 100, 100, "nama"},
                                        {2, 100, 150, employee(7)},
                                        {2, 100, 350, employee(8)},
                                        {2, 100, 550, employee(9)}}));
    EXPECT_EQ(columns, (std::vector<int>{1, 1, 1, 2, 2, 2, 1, 1, 1}));
}

// ---- Forced new pages and columns ----

struct ForcedCase {
    const char* name;
    int columns;
    double title;  // height of the title band; 0: none
    bool newPage, newColumn;
    Placements expected;  // for three records and a summary
};

class ForcedBreaks : public testing::TestWithParam<ForcedCase> {};

TEST_P(ForcedBreaks, RecordsStartWhereTheBandAsks)
{
    const ForcedCase& c = GetParam();
    ReportTestData data;
    data.addEmployees(3);
    Layout layout;
    layout.columns(c.columns, 100);
    layout.report.DataSet = &data.module.Tdatapeg;
    if (c.title > 0)
        layout.label(layout.band(TRepBandType::rbTitle, c.title), "judul");
    TRepBand* detail = layout.band(TRepBandType::rbDetail, 100);
    detail->ForceNewPage = c.newPage;
    detail->ForceNewColumn = c.newColumn;
    layout.names(detail, data.module.Tdatapeg);
    layout.label(layout.band(TRepBandType::rbSummary, 50), "akhir");
    EXPECT_EQ(layout.run(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Layout, ForcedBreaks,
                         testing::Values(
                             // the first forced page after the title is not taken
                             ForcedCase{"NewPageAfterTheFirstRecordUnderTheTitle",
                                        1,
                                        100,
                                        true,
                                        false,
                                        {{1, 100, 100, "judul"},
                                         {1, 100, 200, employee(1)},
                                         {2, 100, 100, employee(2)},
                                         {3, 100, 100, employee(3)},
                                         {3, 100, 200, "akhir"}}},
                             // but a record that does not fit under the title still breaks the page
                             ForcedCase{"RecordUnderAFullTitleStillBreaksThePage",
                                        1,
                                        750,
                                        true,
                                        false,
                                        {{1, 100, 100, "judul"},
                                         {2, 100, 100, employee(1)},
                                         {3, 100, 100, employee(2)},
                                         {4, 100, 100, employee(3)},
                                         {4, 100, 200, "akhir"}}},
                             ForcedCase{"NewPageForEveryRecordButTheFirst",
                                        1,
                                        0,
                                        true,
                                        false,
                                        {{1, 100, 100, employee(1)},
                                         {2, 100, 100, employee(2)},
                                         {3, 100, 100, employee(3)},
                                         {3, 100, 200, "akhir"}}},
                             ForcedCase{"NewPageWithColumnsGoesBackToColumnOne",
                                        2,
                                        0,
                                        true,
                                        false,
                                        {{1, 100, 100, employee(1)},
                                         {2, 100, 100, employee(2)},
                                         {3, 100, 100, employee(3)},
                                         {3, 100, 200, "akhir"}}},
                             ForcedCase{"NewColumnForEveryRecordButTheFirst",
                                        2,
                                        0,
                                        false,
                                        true,
                                        {{1, 100, 100, employee(1)},
                                         {1, 550, 100, employee(2)},
                                         {2, 100, 100, employee(3)},
                                         {2, 100, 200, "akhir"}}},
                             // the title spans the columns; later columns of page 1 start under it
                             ForcedCase{"NewColumnRightAfterTheTitle",
                                        2,
                                        100,
                                        false,
                                        true,
                                        {{1, 100, 100, "judul"},
                                         {1, 550, 200, employee(1)},
                                         {2, 100, 100, employee(2)},
                                         {2, 550, 100, employee(3)},
                                         {2, 550, 200, "akhir"}}}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Bands at the bottom of the page ----

struct BottomCase {
    const char* name;
    int records;
    bool detailAtBottom, summaryAtBottom, lastPageFooter;
    Placements expected;
};

class BottomBands : public testing::TestWithParam<BottomCase> {};

// Detail bands of 10 mm, a summary of 10 mm and a page footer of 5 mm.
TEST_P(BottomBands, StandOnTheFooterOrTheBottomMargin)
{
    const BottomCase& c = GetParam();
    ReportTestData data;
    data.addEmployees(c.records);
    Layout layout;
    layout.report.DataSet = &data.module.Tdatapeg;
    layout.report.Options.LastPageFooter = c.lastPageFooter;
    layout.label(layout.band(TRepBandType::rbPageFooter, 50), "kaki");
    TRepBand* detail = layout.band(TRepBandType::rbDetail, 100);
    detail->AlignToBottom = c.detailAtBottom;
    layout.names(detail, data.module.Tdatapeg);
    TRepBand* summary = layout.band(TRepBandType::rbSummary, 100);
    summary->AlignToBottom = c.summaryAtBottom;
    layout.label(summary, "akhir");
    EXPECT_EQ(layout.run(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, BottomBands,
    testing::Values(
        BottomCase{
            "SummaryStandsOnThePageFooter",
            2,
            false,
            true,
            true,
            {{1, 100, 100, employee(1)}, {1, 100, 200, employee(2)}, {1, 100, 750, "akhir"}, {1, 100, 850, "kaki"}}},
        // without the footer on the last page the summary takes its room
        BottomCase{"SummaryTakesTheRoomOfALastFooterLeftOut",
                   8,
                   false,
                   true,
                   false,
                   {{1, 100, 100, employee(1)},
                    {1, 100, 200, employee(2)},
                    {1, 100, 300, employee(3)},
                    {1, 100, 400, employee(4)},
                    {1, 100, 500, employee(5)},
                    {1, 100, 600, employee(6)},
                    {1, 100, 700, employee(7)},
                    {1, 100, 850, "kaki"},
                    {2, 100, 100, employee(8)},
                    {2, 100, 800, "akhir"}}},
        // 7 records leave 5 mm above the footer: the summary goes to the bottom of page 2
        BottomCase{"SummaryThatNoLongerFitsGoesToTheBottomOfTheNextPage",
                   7,
                   false,
                   true,
                   true,
                   {{1, 100, 100, employee(1)},
                    {1, 100, 200, employee(2)},
                    {1, 100, 300, employee(3)},
                    {1, 100, 400, employee(4)},
                    {1, 100, 500, employee(5)},
                    {1, 100, 600, employee(6)},
                    {1, 100, 700, employee(7)},
                    {1, 100, 850, "kaki"},
                    {2, 100, 750, "akhir"},
                    {2, 100, 850, "kaki"}}},
        BottomCase{"EachBottomDetailTakesAPageOfItsOwn",
                   3,
                   true,
                   false,
                   true,
                   {{1, 100, 750, employee(1)},
                    {1, 100, 850, "kaki"},
                    {2, 100, 750, employee(2)},
                    {2, 100, 850, "kaki"},
                    {3, 100, 750, employee(3)},
                    {3, 100, 850, "kaki"},
                    {4, 100, 100, "akhir"},
                    {4, 100, 850, "kaki"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The report's own frame and controls ----

struct FrameCase {
    const char* name;
    bool top, bottom, left, right;
    bool finalPass;
    std::vector<std::vector<PagePoint>> lines;  // on every page
};

class ReportFrame : public testing::TestWithParam<FrameCase> {};

// Five detail bands of 20 mm make two pages; each page closes with the
// report's control in the top margin and its frame around the printable area.
TEST_P(ReportFrame, EveryPageClosesWithTheFrameAndTheReportControls)
{
    const FrameCase& c = GetParam();
    Layout layout;
    layout.report.Frame = {.DrawTop = c.top,
                           .DrawBottom = c.bottom,
                           .DrawLeft = c.left,
                           .DrawRight = c.right,
                           .Color = {200, 0, 0},
                           .Width = 3};
    auto mark = std::make_unique<TRepLabel>("RepLabel9");
    mark->Caption = "RAHASIA";
    mark->Values = {40, 400, 20, 300};
    layout.report.addControl(std::move(mark));
    TRepBand* detail = layout.band(TRepBandType::rbDetail, 200);
    TRepLabel* text = layout.label(detail, "");
    {
        ReportRun run(layout.report, layout.destination);
        run.setFinalPass(c.finalPass);
        ASSERT_TRUE(run.Begin());
        for (int n = 1; n <= 5; ++n) {
            text->Caption = "baris " + std::to_string(n);
            run.EmitBand(detail);
        }
        run.End();
    }
    EXPECT_EQ(textsOf(layout.destination), (Placements{{1, 100, 100, "baris 1"},
                                                       {1, 100, 300, "baris 2"},
                                                       {1, 100, 500, "baris 3"},
                                                       {1, 100, 700, "baris 4"},
                                                       {1, 400, 20, "RAHASIA"},
                                                       {2, 100, 100, "baris 5"},
                                                       {2, 400, 20, "RAHASIA"}}));
    const std::vector<RecordingCanvas> pages = pagesOf(layout.destination);
    ASSERT_EQ(pages.size(), 2u);
    for (const RecordingCanvas& page : pages) {
        std::vector<std::vector<PagePoint>> lines;
        int fills = 0;
        for (const RecordingCanvas::Call& call : page.calls) {
            if (call.kind == RecordingCanvas::Kind::Polyline) {
                lines.push_back(call.points);
                EXPECT_EQ(call.pen, (PagePen{{200, 0, 0}, 3, true}));
            }
            fills += call.kind == RecordingCanvas::Kind::Rectangle;
        }
        EXPECT_EQ(lines, c.lines);
        // band and text fills only on the final pass
        EXPECT_EQ(fills > 0, c.finalPass);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layout, ReportFrame,
    testing::Values(
        FrameCase{
            "AllFourEdges",
            true,
            true,
            true,
            true,
            true,
            {{{100, 100}, {900, 100}}, {{100, 900}, {900, 900}}, {{100, 100}, {100, 900}}, {{900, 100}, {900, 900}}}},
        FrameCase{
            "TopAndLeftOnly", true, false, true, false, true, {{{100, 100}, {900, 100}}, {{100, 100}, {100, 900}}}},
        FrameCase{"NoFrameOffTheFinalPass", true, true, true, true, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// ---- Stretching texts on the bands of the page itself ----

// A page header or footer prints on every page, so its text cannot go on
// to a next page: it grows where it stands. (Continued, a footer's text
// opened a page whose footer went on again, until the stack ran out.)
TEST(PageBandStretch, FooterTextTallerThanItsBandGrowsInPlace)
{
    Layout layout;
    TRepLabel* head = layout.label(layout.band(TRepBandType::rbPageHeader, 50), "h1\rh2");
    head->AutoStretch = true;
    TRepLabel* foot = layout.label(layout.band(TRepBandType::rbPageFooter, 50), "k1\rk2\rk3");
    foot->AutoStretch = true;
    TRepBand* detail = layout.band(TRepBandType::rbDetail, 200);
    TRepLabel* text = layout.label(detail, "");
    {
        ReportRun run(layout.report, layout.destination);
        ASSERT_TRUE(run.Begin());
        for (int n = 1; n <= 4; ++n) {
            text->Caption = "baris " + std::to_string(n);
            run.EmitBand(detail);
        }
        run.End();
    }
    // the header's second line pushes the bands down by 3 mm; three bands
    // fit above the footer
    EXPECT_EQ(textsOf(layout.destination), (Placements{{1, 100, 100, "h1"},
                                                       {1, 100, 140, "h2"},
                                                       {1, 100, 180, "baris 1"},
                                                       {1, 100, 380, "baris 2"},
                                                       {1, 100, 580, "baris 3"},
                                                       {1, 100, 850, "k1"},
                                                       {1, 100, 890, "k2"},
                                                       {1, 100, 930, "k3"},
                                                       {2, 100, 100, "h1"},
                                                       {2, 100, 140, "h2"},
                                                       {2, 100, 180, "baris 4"},
                                                       {2, 100, 850, "k1"},
                                                       {2, 100, 890, "k2"},
                                                       {2, 100, 930, "k3"}}));
}
