#include <gtest/gtest.h>

#include <filesystem>

#include "EReportError.h"
#include "TRepPrinter.h"

namespace {

struct SettingsCase {
    const char* name;
    void (*set)(TRepPrinter&);
    unsigned fields;  // what the driver takes
    DeviceDescription expected;
};

DeviceDescription driver()
{
    DeviceDescription d;
    d.PaperSize = 9;
    d.PaperWidth = 2100;
    d.PaperLength = 2970;
    d.DefaultSource = 0x300 | 7;
    d.Duplex = DeviceDescription::VerticalDuplex;
    return d;
}

DeviceDescription with(void (*change)(DeviceDescription&))
{
    DeviceDescription d = driver();
    change(d);
    return d;
}

const unsigned all = DeviceDescription().Fields;

class ApplySettings : public testing::TestWithParam<SettingsCase> {};

TEST_P(ApplySettings, WriteWhatTheDriverTakes)
{
    TRepPrinter destination;
    GetParam().set(destination);
    DeviceDescription d = driver();
    d.Fields = GetParam().fields;
    destination.ApplySettings(d);
    DeviceDescription expected = GetParam().expected;
    expected.Fields = GetParam().fields;
    EXPECT_EQ(d, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ApplySettings,
    testing::Values(SettingsCase{"LegalLandscape",
                                 [](TRepPrinter& p) {
                                     p.PaperSize = TRepPaperSize::Legal;
                                     p.Orientation = TRepOrientation::poLandscape;
                                 },
                                 all, with([](DeviceDescription& d) {
                                     d.PaperSize = 5;
                                     d.Orientation = 2;
                                 })},
                    SettingsCase{"DefaultPaperKeepsTheDrivers",
                                 [](TRepPrinter& p) { p.PaperSize = TRepPaperSize::Default; }, all, driver()},
                    SettingsCase{"DuplexOnIsHorizontal", [](TRepPrinter& p) { p.Duplex = true; }, all,
                                 with([](DeviceDescription& d) { d.Duplex = 3; })},
                    SettingsCase{"DuplexOffLeavesTheDrivers", [](TRepPrinter& p) { p.Duplex = false; }, all, driver()},
                    SettingsCase{"BinKeepsTheDriversExtraBits",
                                 [](TRepPrinter& p) { p.OutputBin = TRepOutputBin::Cassette; }, all,
                                 with([](DeviceDescription& d) { d.DefaultSource = 0x300 | 14; })},
                    SettingsCase{"LowerBin", [](TRepPrinter& p) { p.OutputBin = TRepOutputBin::Lower; }, all,
                                 with([](DeviceDescription& d) { d.DefaultSource = 0x300 | 2; })},
                    SettingsCase{"Copies", [](TRepPrinter& p) { p.Copies = 4; }, all,
                                 with([](DeviceDescription& d) { d.Copies = 4; })},
                    SettingsCase{"CustomPaperSize",
                                 [](TRepPrinter& p) {
                                     p.PaperSize = TRepPaperSize::Custom;
                                     p.CustomWidth = 1000;
                                     p.CustomLength = 1500;
                                 },
                                 all, with([](DeviceDescription& d) {
                                     d.PaperSize = 256;
                                     d.PaperWidth = 1000;
                                     d.PaperLength = 1500;
                                 })},
                    SettingsCase{"CustomWithoutLengthSupport",
                                 [](TRepPrinter& p) {
                                     p.PaperSize = TRepPaperSize::Custom;
                                     p.CustomWidth = 1000;
                                     p.CustomLength = 1500;
                                 },
                                 all & ~unsigned(DeviceDescription::FieldPaperLength), with([](DeviceDescription& d) {
                                     d.PaperSize = 256;
                                     d.PaperWidth = 1000;
                                 })},
                    SettingsCase{"NothingSupportedChangesNothing",
                                 [](TRepPrinter& p) {
                                     p.PaperSize = TRepPaperSize::Legal;
                                     p.Copies = 3;
                                     p.Duplex = true;
                                     p.Orientation = TRepOrientation::poLandscape;
                                 },
                                 0u, driver()}),
    [](const auto& info) { return std::string(info.param.name); });

struct RangeCase {
    int first, last, page;
    bool in;
};

TEST(TRepPrinter, PrintRange)
{
    const RangeCase cases[] = {{0, 0, 1, true},  {0, 0, 99, true}, {2, 3, 1, false}, {2, 3, 2, true},
                               {2, 3, 3, true},  {2, 3, 4, false}, {0, 2, 3, false}, {3, 0, 2, false},
                               {3, 0, 50, true}, {-1, -1, 5, true}};
    for (const RangeCase& c : cases) {
        TRepPrinter p;
        p.FirstPage = c.first;
        p.LastPage = c.last;
        EXPECT_EQ(p.InPrintRange(c.page), c.in) << c.first << ".." << c.last << " page " << c.page;
    }
}

// A Save handled among the messages processed while the document finishes
// writes the final page count, not the count of the first page's header.
TEST(TRepPrinter, SaveWhileFinishingWritesEveryPage)
{
    const std::string file = (std::filesystem::temp_directory_path() / "arsipstaf-finishing.RPF").string();
    TRepPrinter destination;
    destination.OpenDocument();
    for (int n = 0; n < 3; ++n)
        destination.NewPage();
    destination.ProcessMessages = [&] { destination.Save(file); };
    destination.FinishDocument();
    TRepPrinter loaded;
    loaded.Load(file);
    EXPECT_EQ(loaded.PageCount(), 3);
    EXPECT_TRUE(loaded.GetPage(3).has_value());
    std::filesystem::remove(file);
}

TEST(TRepPrinter, PrinterModeWithoutAPrinterIsNotReady)
{
    TRepPrinter destination(TRepPrinter::Mode::Printer);
    EXPECT_FALSE(destination.PrinterPresent());
    EXPECT_THROW(destination.OpenDocument(), EReportError);
}

// A loaded file is its own report: its title (its file's name when it
// carries none), all its pages to print; the setup goes on, the export of
// the report behind the old pages does not.
TEST(TRepPrinter, LoadingTakesTheFilesTitleAndAllItsPages)
{
    const auto folder = std::filesystem::temp_directory_path();
    const std::string named = (folder / "arsipstaf-named.RPF").string();
    const std::string plain = (folder / "arsipstaf-plain.RPF").string();
    for (const std::string& file : {named, plain}) {
        TRepPrinter run;
        run.Title = file == named ? "Laporan Mutasi" : "";
        run.OpenDocument();
        run.NewPage();
        run.FinishDocument();
        run.Save(file);
    }
    for (const auto& [file, title] : {std::pair{named, "Laporan Mutasi"}, std::pair{plain, "arsipstaf-plain"}}) {
        TRepPrinter destination;
        destination.Title = "Bezetting";
        destination.FirstPage = 2;
        destination.LastPage = 3;
        destination.OnPrintSetup = [] {};
        destination.OnExport = [] {};
        destination.Load(file);
        EXPECT_EQ(destination.Title, title);
        EXPECT_EQ(destination.FirstPage, 0);
        EXPECT_EQ(destination.LastPage, 0);
        EXPECT_TRUE(destination.OnPrintSetup);
        EXPECT_FALSE(destination.OnExport);
        EXPECT_TRUE(destination.ReportLoaded());
        std::filesystem::remove(file);
    }
}

}  // namespace
