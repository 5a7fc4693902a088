#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "AdminTool.h"
#include "BothEngines.h"
#include "EmfPlayer.h"
#include "GenerateCommand.h"
#include "RecordingCanvas.h"
#include "ReportRegistry.h"
#include "TRepPrinter.h"

namespace fs = std::filesystem;

namespace {

class ReportCommandOnBoth : public ::testing::TestWithParam<TestEngine> {};

TEST_P(ReportCommandOnBoth, RunsEachReportAndSavesItsPages)
{
    TempDatabase database{TempDatabase::Tables::Default, GetParam()};
    SKIP_WITHOUT_TEST_SERVER(database);
    std::ostringstream out, err;
    ASSERT_EQ(GenerateCommand::run(20, out, err), 0) << err.str();
    for (const ReportRegistry::Entry& report : ReportRegistry::all()) {
        const char* name = report.name;
        for (bool coded : {false, true}) {
            const std::string file = database.root() + "/" + name + (coded ? "c" : "") + ".rpf";
            std::vector<std::string> args = {"report", name, file};
            if (coded)
                args.push_back("coded");
            std::ostringstream runOut, runErr;
            ASSERT_EQ(AdminTool::run(args, runOut, runErr), 0) << runErr.str();
            EXPECT_NE(runOut.str().find(std::string(name) + ": 2 pages in "), std::string::npos) << runOut.str();
            TRepPrinter loaded;
            loaded.Load(file);
            EXPECT_EQ(loaded.PageCount(), 2);
            EXPECT_EQ(loaded.PageList().Compression(), coded);
            EXPECT_TRUE(loaded.GetPage(2).has_value());
        }
    }
}

INSTANTIATE_FOR_BOTH_ENGINES(ReportCommandOnBoth);

// Texts of the page pictures that a fill painted after them covers in part,
// by the left edge they start at (a column), and how many texts there were.
struct CutTexts {
    std::map<std::int32_t, int> byLeft;
    int cut = 0;
    int texts = 0;
};

void countCutTexts(const std::vector<std::uint8_t>& picture, CutTexts& count)
{
    RecordingCanvas page;
    EmfPlayer::play(picture, page);
    for (size_t i = 0; i < page.calls.size(); ++i) {
        const RecordingCanvas::Call& call = page.calls[i];
        if (call.kind != RecordingCanvas::Kind::Text)
            continue;
        ++count.texts;
        std::int32_t right = call.text.origin.x;
        for (std::int32_t advance : call.text.advances)
            right += advance;
        const std::int32_t left = call.text.origin.x, top = call.text.origin.y, bottom = top + call.font.height;
        for (size_t j = i + 1; j < page.calls.size(); ++j) {
            const RecordingCanvas::Call& fill = page.calls[j];
            if (fill.kind == RecordingCanvas::Kind::Rectangle && fill.brush.visible && fill.rect.left < right &&
                fill.rect.right > left && fill.rect.top < bottom && fill.rect.bottom > top) {
                ++count.cut;
                ++count.byLeft[left];
                break;
            }
        }
    }
}

// Each report over 20,000 generated records, read back from its saved page
// pictures: a value wider than its column wraps within it, so nothing
// painted later covers any text.
TEST(ReportCommand, NoTextIsCutAtTwentyThousandRecords)
{
    TempDatabase database;
    std::ostringstream out, err;
    ASSERT_EQ(GenerateCommand::runIn(database.directory(), 20000, out, err), 0) << err.str();
    for (const ReportRegistry::Entry& report : ReportRegistry::all()) {
        const char* name = report.name;
        const std::string file = database.root() + "/" + name + ".rpf";
        std::ostringstream runOut, runErr;
        ASSERT_EQ(AdminTool::run({"report", name, file}, runOut, runErr), 0) << runErr.str();
        TRepPrinter loaded;
        loaded.Load(file);
        CutTexts count;
        for (int n = 1; n <= loaded.PageCount(); ++n)
            countCutTexts(*loaded.GetPage(n), count);
        std::ostringstream columns;
        for (const auto& [left, cut] : count.byLeft)
            columns << " " << cut << " at x " << left << ";";
        EXPECT_GT(count.texts, 20000 * 9) << name;
        EXPECT_EQ(count.cut, 0) << name << ":" << columns.str();
    }
}

TEST(ReportCommand, PdfOptionWritesThePagesAsAPdfFile)
{
    TempDatabase database;
    std::ostringstream out, err;
    ASSERT_EQ(GenerateCommand::runIn(database.directory(), 40, out, err), 0) << err.str();
    const std::string file = database.root() + "/mutasi.rpf", pdf = database.root() + "/mutasi.pdf";
    std::ostringstream runOut, runErr;
    ASSERT_EQ(AdminTool::run({"report", "Form11", file, "--pdf", pdf, "coded"}, runOut, runErr), 0) << runErr.str();
    EXPECT_NE(runOut.str().find("and as PDF to " + pdf), std::string::npos) << runOut.str();
    TRepPrinter loaded;
    loaded.Load(file);
    EXPECT_TRUE(loaded.PageList().Compression());
    // pdfinfo: as many pages as the report, Legal landscape, named after it
    std::string info;
    {
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("pdfinfo '" + pdf + "'").c_str(), "r"), pclose);
        ASSERT_TRUE(pipe);
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe.get()))
            info += buffer;
    }
    std::string squeezed;  // one blank between words
    for (char c : info)
        if (!(c == ' ' && !squeezed.empty() && squeezed.back() == ' '))
            squeezed += c;
    EXPECT_NE(squeezed.find("Pages: " + std::to_string(loaded.PageCount()) + "\n"), std::string::npos) << info;
    EXPECT_NE(squeezed.find("Page size: 1008 x 612 pts"), std::string::npos) << info;
    EXPECT_NE(squeezed.find("Title: Mutasi\n"), std::string::npos) << info;
    std::string text;
    {
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("pdftotext '" + pdf + "' -").c_str(), "r"), pclose);
        char buffer[512];
        while (pipe && fgets(buffer, sizeof buffer, pipe.get()))
            text += buffer;
    }
    EXPECT_NE(text.find("Laporan Mutasi"), std::string::npos);
    EXPECT_NE(text.find("Ka. Sub. Bag. Tata Usaha"), std::string::npos);
}

TEST(ReportCommand, RejectsUnknownNamesAndArguments)
{
    TempDatabase database;
    const std::string file = database.root() + "/x.rpf";
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    for (const Case& c : {Case{{"report", "Form8", file}, 2}, Case{{"report", "Form9"}, 2},
                          Case{{"report", "Form9", file, "zipped"}, 2}, Case{{"report", "Form9", file, "--pdf"}, 2},
                          Case{{"report", "Form9", file, "coded", "coded"}, 2}}) {
        std::ostringstream out, err;
        EXPECT_EQ(AdminTool::run(c.args, out, err), c.code);
        EXPECT_FALSE(err.str().empty());
    }
    EXPECT_FALSE(fs::exists(file));
}

}  // namespace
