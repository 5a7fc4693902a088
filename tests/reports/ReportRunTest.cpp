#include <gtest/gtest.h>

#include <stdexcept>

#include "PrinterSystem.h"
#include "RecordingCanvas.h"
#include "ReportTestData.h"
#include "TBandReport.h"
#include "TRepDBText.h"
#include "TRepLabel.h"

namespace {

// A millimetre report on a 100 x 100 mm page with 10 mm margins and one
// detail band 20 mm high.
std::unique_ptr<TBandReport> smallReport(TDataSet* data = nullptr)
{
    auto report = std::make_unique<TBandReport>();
    report->DataSet = data;
    report->Page.setPaperSize(TRepPaperSize::Custom);
    report->Page.Values = {100, 1000, 100, 1000, 100, 100, 0};
    auto detail = std::make_unique<TRepBand>("RepBand1", TRepBandType::rbDetail);
    detail->Values = {200, 800};
    auto label = std::make_unique<TRepLabel>("RepLabel1");
    label->Caption = "baris";
    detail->add(std::move(label));
    report->addBand(std::move(detail));
    report->setUnits(TRepUnits::MM);
    return report;
}

TRepBand& detailOf(TBandReport& report)
{
    return *report.findBand(TRepBandType::rbDetail);
}

TEST(RunLifecycle, RunWorksInTenthsOfAMillimetreAndLeavesTheReportAsItWas)
{
    auto report = smallReport();
    TRepBand& detail = detailOf(*report);
    bool seen = false;
    detail.BeforePrint = [&](const TRepBand& band, bool&) {
        seen = true;
        EXPECT_FALSE(report->Available());
        ASSERT_NE(report->ActiveRun(), nullptr);
        EXPECT_EQ(report->Units(), TRepUnits::MM);
        EXPECT_DOUBLE_EQ(band.Height(), 20);
    };
    detail.AfterPrint = [&](const TRepBand&, bool) {
        ASSERT_NE(report->ActiveRun(), nullptr);
        EXPECT_EQ(report->ActiveRun()->PageCount(), 1);
        EXPECT_DOUBLE_EQ(report->ActiveRun()->CurrentY(), 300);
    };
    TRepPrinter destination;
    report->RunReport(destination);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->ActiveRun(), nullptr);
    EXPECT_EQ(report->Units(), TRepUnits::MM);
    EXPECT_DOUBLE_EQ(detail.Height(), 20);
    EXPECT_DOUBLE_EQ(report->Page.TopMargin(), 10);
    EXPECT_EQ(destination.status(), TRepPrinter::Status::Finished);
    EXPECT_FALSE(destination.Incomplete());
}

TEST(RunLifecycle, RunEndedByAnErrorGivesTheReportBack)
{
    ReportTestData data;
    data.addEmployees(3);
    auto report = smallReport(&data.module.Tdatapeg);
    TRepBand& detail = detailOf(*report);
    auto* name = detail.add(std::make_unique<TRepDBText>("RepDBText1"));
    name->DataSet = &data.module.Tdatapeg;
    name->DataField = "Nama_Pegawai";
    int records = 0;
    std::string printedName;
    detail.BeforePrint = [&](const TRepBand&, bool&) {
        printedName = name->Text();
        if (++records == 2)
            throw std::runtime_error("band failed");
    };
    TRepPrinter destination;
    EXPECT_THROW(report->RunReport(destination), std::runtime_error);
    EXPECT_EQ(printedName, "Pegawai 00002");
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->Units(), TRepUnits::MM);
    // the page so far is kept and the document is marked incomplete
    EXPECT_EQ(destination.status(), TRepPrinter::Status::Finished);
    EXPECT_TRUE(destination.Incomplete());
    EXPECT_TRUE(destination.GetPage(1).has_value());

    // and the report runs again
    detail.BeforePrint = nullptr;
    TRepPrinter again;
    report->RunReport(again);
    EXPECT_EQ(again.status(), TRepPrinter::Status::Finished);
    EXPECT_FALSE(again.Incomplete());
    EXPECT_EQ(again.PageCount(), 1);
}

TEST(RunLifecycle, VetoedRunOpensNothing)
{
    auto report = smallReport();
    report->BeforePrint = [&](const TBandReport& r, bool& print) {
        EXPECT_FALSE(r.Available());
        print = false;
    };
    TRepPrinter destination;
    report->RunReport(destination);
    EXPECT_EQ(destination.status(), TRepPrinter::Status::Ready);
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->Units(), TRepUnits::MM);
}

TEST(RunLifecycle, BusyReportRefusesASecondRun)
{
    auto report = smallReport();
    TRepPrinter destination, other;
    bool refused = false;
    detailOf(*report).BeforePrint = [&](const TRepBand&, bool&) {
        report->RunReport(other);
        try {
            ReportRun second(*report, other);
        } catch (const std::logic_error&) {
            refused = true;
        }
    };
    report->RunReport(destination);
    EXPECT_TRUE(refused);
    EXPECT_EQ(other.status(), TRepPrinter::Status::Ready);
    EXPECT_EQ(destination.status(), TRepPrinter::Status::Finished);
    EXPECT_TRUE(report->Available());
}

TEST(RunLifecycle, RunBuiltDirectlyPlacesBandsOneUnderAnother)
{
    auto report = smallReport();
    TRepBand& detail = detailOf(*report);
    TRepPrinter destination;
    {
        ReportRun run(*report, destination);
        EXPECT_DOUBLE_EQ(run.SpaceLeft(), 0);  // no page yet
        ASSERT_TRUE(run.Begin());
        std::vector<double> tops;
        for (int n = 0; n < 5; ++n) {
            run.EmitBand(&detail);
            tops.push_back(run.CurrentY());
        }
        // four bands of 20 mm fill the 80 mm between the margins; the fifth
        // opens page 2
        EXPECT_EQ(tops, (std::vector<double>{300, 500, 700, 900, 300}));
        EXPECT_EQ(run.PageCount(), 2);
        EXPECT_DOUBLE_EQ(run.SpaceLeft(), 600);
        EXPECT_DOUBLE_EQ(report->SpaceLeft(), 600);
        run.End();
        EXPECT_TRUE(run.LastPage());
        EXPECT_FALSE(report->Available());
    }
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->Units(), TRepUnits::MM);
    EXPECT_EQ(destination.status(), TRepPrinter::Status::Finished);
    EXPECT_FALSE(destination.Incomplete());
    EXPECT_EQ(destination.PageCount(), 2);
}

TEST(RunLifecycle, RunLeftUnendedMarksItsDocumentIncomplete)
{
    auto report = smallReport();
    TRepPrinter destination;
    {
        ReportRun run(*report, destination);
        ASSERT_TRUE(run.Begin());
        run.EmitBand(&detailOf(*report));
    }
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(destination.status(), TRepPrinter::Status::Finished);
    EXPECT_TRUE(destination.Incomplete());
    EXPECT_EQ(destination.PageCount(), 1);
}

// A printer that takes the pages and then refuses to send the job.
class RefusingPrinters : public PrinterSystem {
public:
    int PrinterCount() const override { return 1; }
    std::unique_ptr<PrintDevice> Open(int) override { return std::make_unique<Device>(*this); }

    bool aborted = false;

private:
    class Device : public PrintDevice {
    public:
        explicit Device(RefusingPrinters& owner) : owner_(owner) {}
        DeviceDescription Description() const override { return {}; }
        void SetDescription(const DeviceDescription&) override {}
        double PixelsPerInchX() const override { return 254; }
        double PixelsPerInchY() const override { return 254; }
        PagePoint PrintableOffset() const override { return {}; }
        void SetTitle(const std::string&) override {}
        void BeginJob() override { open_ = true; }
        bool JobOpen() const override { return open_; }
        PageCanvas& Canvas() override { return canvas_; }
        void NewSheet() override {}
        void EndJob() override { throw std::runtime_error("printer went away"); }
        void AbortJob() override
        {
            open_ = false;
            owner_.aborted = true;
        }
        void DrawPicture(std::span<const std::uint8_t>) override {}

    private:
        RefusingPrinters& owner_;
        RecordingCanvas canvas_;
        bool open_ = false;
    };
};

TEST(RunLifecycle, DocumentThatCannotBeFinishedLeavesTheReportAvailable)
{
    auto report = smallReport();
    RefusingPrinters printers;
    TRepPrinter printer(TRepPrinter::Mode::Printer);
    printer.Printers = &printers;
    EXPECT_THROW(report->RunReport(printer), std::runtime_error);
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->Units(), TRepUnits::MM);
    EXPECT_TRUE(printer.Incomplete());
    EXPECT_EQ(printer.status(), TRepPrinter::Status::Finished);
    EXPECT_TRUE(printers.aborted);
}

}  // namespace
