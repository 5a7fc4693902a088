#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "EmfPlayer.h"
#include "RecordingCanvas.h"
#include "ReportDefinitions.h"
#include "ReportTestData.h"
#include "TRepDBText.h"
#include "TRepLabel.h"

namespace {

// Where each band started on which page, read off the run.
struct BandStart {
    int page;
    double y;
    bool operator==(const BandStart&) const = default;
};

// Runs a report and returns where its bands went.
struct ReportRunTrace {
    TRepPrinter destination;
    std::vector<BandStart> title, header, detail, signature;

    explicit ReportRunTrace(TBandReport& report)
    {
        hook(report);
        report.RunReport(destination);
    }

    void hook(TBandReport& report)
    {
        for (const auto& band : report.bands()) {
            std::vector<BandStart>* list = nullptr;
            switch (band->BandType) {
            case TRepBandType::rbTitle:
                list = &title;
                break;
            case TRepBandType::rbColumnHeader:
                list = &header;
                break;
            case TRepBandType::rbDetail:
                list = &detail;
                break;
            case TRepBandType::rbSummary:
                list = &signature;
                break;
            default:
                continue;
            }
            TRepBand* b = band.get();
            b->AfterPrint = [&report, list, b](const TRepBand&, bool printed) {
                if (printed)
                    list->push_back({report.ActiveRun()->PageCount(),
                                     std::round(report.ActiveRun()->CurrentY() - b->Values[TRepBand::HeightValue])});
            };
        }
    }

    int detailsOn(int page) const
    {
        return static_cast<int>(
            std::count_if(detail.begin(), detail.end(), [page](const BandStart& s) { return s.page == page; }));
    }

    std::vector<std::string> textsOf(int page)
    {
        RecordingCanvas canvas;
        EmfPlayer::play(*destination.GetPage(page), canvas);
        return canvas.texts();
    }
};

struct GeometryCase {
    const char* name;
    int records;
    std::vector<int> perPage;  // a last page of 0 holds the signature block alone
};

class ReportGeometry : public testing::TestWithParam<GeometryCase> {};

TEST_P(ReportGeometry, PagesHoldFifteenThenSeventeenRecords)
{
    const GeometryCase& c = GetParam();
    ReportTestData data;
    data.addEmployees(c.records);
    data.addTransfers(c.records);
    using Make = std::unique_ptr<TBandReport> (*)(TDataSet*);
    const std::pair<Make, TDataSet*> reports[] = {{ReportDefinitions::Form9, &data.module.Tdatapeg},
                                                  {ReportDefinitions::Form10, &data.module.Tdatapeg},
                                                  {ReportDefinitions::Form11, &data.module.Tmutasi}};
    for (const auto& [make, table] : reports) {
        auto report = make(table);
        ReportRunTrace run(*report);
        ASSERT_EQ(run.destination.PageCount(), static_cast<int>(c.perPage.size()));
        for (size_t p = 0; p < c.perPage.size(); ++p)
            EXPECT_EQ(run.detailsOn(static_cast<int>(p) + 1), c.perPage[p]) << "page " << p + 1;
        // title at the top margin of page 1, column header under it, then
        // every later page starts with the column header at the top margin
        EXPECT_EQ(run.title, (std::vector<BandStart>{{1, 100}}));
        ASSERT_EQ(run.header.size(), c.perPage.size());
        EXPECT_EQ(run.header[0], (BandStart{1, 341}));
        for (size_t p = 1; p < run.header.size(); ++p)
            EXPECT_EQ(run.header[p], (BandStart{static_cast<int>(p) + 1, 100}));
        EXPECT_EQ(run.detail.front(), (BandStart{1, 447}));
        if (c.records > 15) {
            EXPECT_EQ(run.detail[15], (BandStart{2, 206}));
        }
        // the signature block once, at the bottom of the last page:
        // 215.9 - 10 - 23.28 mm from the top
        EXPECT_EQ(run.signature, (std::vector<BandStart>{{static_cast<int>(c.perPage.size()), 1826}}));
        EXPECT_EQ(run.destination.status(), TRepPrinter::Status::Finished);
        // the table is left on its last record
        EXPECT_TRUE(table->Eof());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Landscape, ReportGeometry,
    testing::Values(GeometryCase{"OneRecord", 1, {1}}, GeometryCase{"FifteenFillPageOne", 15, {15, 0}},
                    GeometryCase{"SixteenthStartsPageTwo", 16, {15, 1}},
                    GeometryCase{"ThirtyTwoFillTwoPages", 32, {15, 17, 0}},
                    // the signature block (23.28 mm) fits under 13 records on page 1 and
                    // under 15 on a later page
                    GeometryCase{"ThirteenLeaveRoomForTheSignature", 13, {13}},
                    GeometryCase{"FourteenPushTheSignatureOn", 14, {14, 0}}, GeometryCase{"Thirty", 30, {15, 15}},
                    GeometryCase{"ThirtyOne", 31, {15, 16, 0}}, GeometryCase{"ThirtyThree", 33, {15, 17, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportRun, PagesShowTheLookedUpTextsInTableOrder)
{
    ReportTestData data;
    data.addEmployees(16);
    auto report = ReportDefinitions::Form9(&data.module.Tdatapeg);
    ReportRunTrace run(*report);
    const std::vector<std::string> page1 = run.textsOf(1);
    const std::vector<std::string> page2 = run.textsOf(2);
    auto has = [](const std::vector<std::string>& texts, const std::string& t) {
        return std::find(texts.begin(), texts.end(), t) != texts.end();
    };
    EXPECT_TRUE(has(page1, "Laporan Daftar Urut Kepangkatan"));
    EXPECT_TRUE(has(page1, "Nama Pegawai"));
    EXPECT_TRUE(has(page1, "Pegawai 00001"));
    EXPECT_TRUE(has(page1, "Laki-laki"));
    EXPECT_TRUE(has(page1, "Perempuan"));
    EXPECT_TRUE(has(page1, "Penata Muda"));
    EXPECT_TRUE(has(page1, "III/a"));
    EXPECT_TRUE(has(page1, "S1"));
    EXPECT_TRUE(has(page1, "PNS"));
    EXPECT_TRUE(has(page1, "17/08/1980"));
    EXPECT_FALSE(has(page1, "LK"));
    EXPECT_FALSE(has(page1, "Pegawai 00016"));
    EXPECT_TRUE(has(page2, "Pegawai 00016"));
    EXPECT_TRUE(has(page2, "Nama Pegawai"));  // repeated column header
    EXPECT_FALSE(has(page2, "Laporan Daftar Urut Kepangkatan"));
    // the signature block closes the last page only
    EXPECT_FALSE(has(page1, "Ka. Sub. Bag. Tata Usaha"));
    EXPECT_TRUE(has(page2, "Ka. Sub. Bag. Tata Usaha"));
    EXPECT_TRUE(has(page2, "Sindara, ................................ 20"));
}

TEST(ReportRun, EmptyTableGivesTheEmptyFormWithoutColumnHeader)
{
    ReportTestData data;
    for (auto make : {ReportDefinitions::Form9, ReportDefinitions::Form11}) {
        auto report = make(make == ReportDefinitions::Form9 ? static_cast<TDataSet*>(&data.module.Tdatapeg)
                                                            : &data.module.Tmutasi);
        ReportRunTrace run(*report);
        EXPECT_EQ(run.destination.PageCount(), 1);
        EXPECT_EQ(run.title.size(), 1u);
        EXPECT_TRUE(run.header.empty());
        EXPECT_EQ(run.detail, (std::vector<BandStart>{{1, 341}}));
        std::vector<std::string> texts = run.textsOf(1);
        // masked fields of no record read as their blank mask in the data layer
        std::erase_if(texts, [](const std::string& t) { return t.find_first_not_of(" -./") == std::string::npos; });
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "NIP"), 0);  // no heading, no data
        // the five title texts and the three of the signature block only
        EXPECT_EQ(texts.size(), 8u) << testing::PrintToString(texts);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "Ka. Sub. Bag. Tata Usaha"), 1);
    }
}

TEST(ReportRun, ClosedTableIsTreatedAsEmpty)
{
    ReportTestData data;
    data.addEmployees(3);
    data.module.Tdatapeg.Close();
    auto report = ReportDefinitions::Form10(&data.module.Tdatapeg);
    ReportRunTrace run(*report);
    EXPECT_EQ(run.destination.PageCount(), 1);
    EXPECT_TRUE(run.header.empty());
    EXPECT_EQ(run.detail.size(), 1u);
}

TEST(ReportRun, ProgressIsDetailNumberTimesHundredOverCount)
{
    struct Recorder : PrinterObserver {
        std::vector<int> values, pages;
        void PageAvailable(int n) override { pages.push_back(n); }
        void Progress(int p) override { values.push_back(p); }
    } observer;
    ReportTestData data;
    data.addEmployees(16);
    auto report = ReportDefinitions::Form9(&data.module.Tdatapeg);
    TRepPrinter destination;
    destination.Observer = &observer;
    report->RunReport(destination);
    ASSERT_EQ(observer.values.size(), 16u);
    EXPECT_EQ(observer.values[0], 6);
    EXPECT_EQ(observer.values[2], 18);
    EXPECT_EQ(observer.values.back(), 100);
    EXPECT_EQ(observer.pages, (std::vector<int>{1, 2}));

    // With more records than percents the observer hears each percent once,
    // from 0 (the first of 250 records) to 100.
    data.addEmployees(234, 17);
    observer.values.clear();
    TRepPrinter longer;
    longer.Observer = &observer;
    report->RunReport(longer);
    ASSERT_EQ(observer.values.size(), 101u);
    for (size_t i = 0; i < observer.values.size(); ++i)
        EXPECT_EQ(observer.values[i], static_cast<int>(i));
}

}  // namespace

namespace {

TEST(ReportRun, SignatureBlockClosesTheLastPageOfEachReportOnce)
{
    ReportTestData data;
    data.addEmployees(40);
    data.addTransfers(40);
    using Make = std::unique_ptr<TBandReport> (*)(TDataSet*);
    const std::pair<Make, TDataSet*> reports[] = {{ReportDefinitions::Form9, &data.module.Tdatapeg},
                                                  {ReportDefinitions::Form10, &data.module.Tdatapeg},
                                                  {ReportDefinitions::Form11, &data.module.Tmutasi}};
    const char* const signature[] = {"Sindara, ................................ 20",
                                     "Zuvid Idoreradodadur Kelas I Sindara", "Ka. Sub. Bag. Tata Usaha"};
    for (const auto& [make, table] : reports) {
        auto report = make(table);
        ReportRunTrace run(*report);
        const int pages = run.destination.PageCount();
        ASSERT_EQ(pages, 3);
        for (int page = 1; page <= pages; ++page) {
            const std::vector<std::string> texts = run.textsOf(page);
            const auto closing = std::count(texts.begin(), texts.end(), "Ka. Sub. Bag. Tata Usaha");
            EXPECT_EQ(closing, page == pages ? 1 : 0) << report->ReportTitle << " page " << page;
        }
        const std::vector<std::string> last = run.textsOf(pages);
        for (const char* text : signature)
            EXPECT_NE(std::find(last.begin(), last.end(), text), last.end()) << text;
    }
}

}  // namespace
