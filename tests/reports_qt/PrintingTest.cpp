#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include "InkComparison.h"
#include "ModalBoxResponder.h"
#include "PagePainter.h"
#include "PreviewFixture.h"
#include "TRepProgressForm.h"

namespace {

constexpr int Dpi = 48;
class Printing : public PreviewFixture {
protected:
    // Prints from the open preview and waits for the job to end.
    void printFrom(TRepStandardPreview& preview)
    {
        const size_t before = printers->jobs.size();
        preview.Print->trigger();
        processUntil([&] { return panel->report().Available() && printers->jobs.size() > before; }, 1000);
        processUntil([&] { return panel->report().Available(); });
    }

    // Page `page` of the PDF shows the preview's page `previewPage`.
    void expectPrintedPage(const PrintJobRecord& job, int page, const std::vector<std::uint8_t>& picture)
    {
        const QImage printed = renderPdf(job.file, page, Dpi);
        ASSERT_FALSE(printed.isNull()) << "pdftoppm (poppler-utils) could not render " << job.file.toStdString();
        const QImage expected = renderPicture(picture, printed.size());
        EXPECT_GT(sameInk(printed, expected), 0.97) << "page " << page;
        // 3 mm off is told apart
        EXPECT_LT(sameInk(printed, shifted(expected, 6, 6)), 0.9) << "page " << page;
    }
};

TEST_F(Printing, PrintRunsTheReportAgainOntoThePrinterPageForPage)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form10(&peg()));
    std::vector<std::vector<std::uint8_t>> pages;
    bool progressShown = false;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (TRepProgressForm* form = panel->progressForm()) {
            progressShown = form->isVisible();
            EXPECT_EQ(form->windowTitle().toStdString(), "Printing progress");
            watch.stop();
        }
    });
    openPreview([&](TRepStandardPreview& preview) {
        for (int n = 1; n <= 2; ++n)
            pages.push_back(*preview.destination()->GetPage(n));
        watch.start();
        printFrom(preview);
        // the preview keeps its own pages
        EXPECT_EQ(preview.destination()->PageCount(), 2);
        EXPECT_EQ(*preview.destination()->GetPage(2), pages[1]);
    });
    EXPECT_TRUE(progressShown);
    ASSERT_EQ(printers->jobs.size(), 1u);
    const PrintJobRecord& job = printers->jobs[0];
    EXPECT_TRUE(job.ended);
    EXPECT_FALSE(job.aborted);
    EXPECT_EQ(job.sheets, 2);
    EXPECT_EQ(job.copies, 1);
    EXPECT_EQ(job.paper, QPageSize::Legal);
    EXPECT_EQ(job.orientation, QPageLayout::Landscape);
    EXPECT_EQ(job.duplex, QPrinter::DuplexNone);
    EXPECT_EQ(job.source, QPrinter::Auto);
    const PdfInfo info = pdfInfo(job.file);
    EXPECT_EQ(info.pages, 2);
    EXPECT_NEAR(info.widthPt, 1008, 1);
    EXPECT_NEAR(info.heightPt, 612, 1);
    expectPrintedPage(job, 1, pages[0]);
    expectPrintedPage(job, 2, pages[1]);
    EXPECT_TRUE(peg().Eof());  // the print read the table again to its end
}

TEST_F(Printing, RangeFromTheSetupDialogPrintsOnlyThosePages)
{
    addEmployees(40);  // 3 pages
    makePanel(ReportDefinitions::Form9(&peg()));
    setup.choose = [](PrintSetupRequest& r) {
        r.range = PrintSetupRequest::Range::PageRange;
        r.fromPage = 2;
        r.toPage = 3;
    };
    std::vector<std::vector<std::uint8_t>> pages;
    openPreview([&](TRepStandardPreview& preview) {
        for (int n = 1; n <= 3; ++n)
            pages.push_back(*preview.destination()->GetPage(n));
        preview.PrintSetup->trigger();
        EXPECT_EQ(panel->report().PrinterSettings.FirstPage, 2);
        EXPECT_EQ(panel->report().PrinterSettings.LastPage, 3);
        printFrom(preview);
    });
    ASSERT_EQ(setup.asked.size(), 1u);
    const PrintSetupRequest& asked = setup.asked[0];
    EXPECT_EQ(asked.minPage, 1);
    EXPECT_EQ(asked.maxPage, 3);
    EXPECT_EQ(asked.fromPage, 1);
    EXPECT_EQ(asked.toPage, 3);
    EXPECT_EQ(asked.orientation, TRepOrientation::poLandscape);
    EXPECT_TRUE(asked.pageRangeEnabled);
    EXPECT_FALSE(asked.selectionEnabled);
    EXPECT_FALSE(asked.printToFileShown);
    EXPECT_TRUE(asked.warnNoPrinter);
    EXPECT_EQ(panel->report().Tag, 0);
    ASSERT_EQ(printers->jobs.size(), 1u);
    const PrintJobRecord& job = printers->jobs[0];
    EXPECT_EQ(pdfInfo(job.file).pages, 2);
    expectPrintedPage(job, 1, pages[1]);
    expectPrintedPage(job, 2, pages[2]);
}

// The range chosen in a preview goes with it: the next preview of the report
// opens its setup on all pages and prints them all.
TEST_F(Printing, RangeEndsWithItsPreview)
{
    addEmployees(40);  // 3 pages
    makePanel(ReportDefinitions::Form9(&peg()));
    setup.choose = [](PrintSetupRequest& r) {
        r.range = PrintSetupRequest::Range::PageRange;
        r.fromPage = r.toPage = 2;
    };
    openPreview([&](TRepStandardPreview& preview) { preview.PrintSetup->trigger(); });
    EXPECT_EQ(panel->report().PrinterSettings.FirstPage, 0);
    EXPECT_EQ(panel->report().PrinterSettings.LastPage, 0);
    setup.choose = {};
    openPreview([&](TRepStandardPreview& preview) {
        preview.PrintSetup->trigger();
        printFrom(preview);
    });
    ASSERT_EQ(setup.asked.size(), 2u);
    EXPECT_EQ(setup.asked[1].range, PrintSetupRequest::Range::AllPages);
    ASSERT_EQ(printers->jobs.size(), 1u);
    EXPECT_EQ(pdfInfo(printers->jobs[0].file).pages, 3);
}

TEST_F(Printing, RangeBeyondTheLastPageStartsNoJob)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form10(&peg()));
    panel->report().PrinterSettings.FirstPage = 3;
    openPreview([&](TRepStandardPreview& preview) { printFrom(preview); });
    ASSERT_EQ(printers->jobs.size(), 1u);
    EXPECT_FALSE(printers->jobs[0].begun);
    EXPECT_FALSE(QFile::exists(printers->jobs[0].file));
}

TEST_F(Printing, CopiesGoToThePrinterAndTheRunHappensOnce)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form10(&peg()));
    setup.choose = [](PrintSetupRequest& r) { r.copies = 3; };
    openPreview([&](TRepStandardPreview& preview) {
        preview.PrintSetup->trigger();
        printFrom(preview);
    });
    EXPECT_EQ(panel->report().PrinterSettings.Copies, 3);
    ASSERT_EQ(printers->jobs.size(), 1u);
    EXPECT_EQ(printers->jobs[0].copies, 3);
    EXPECT_EQ(pdfInfo(printers->jobs[0].file).pages, 2);
}

TEST_F(Printing, LandscapeChosenForAPortraitReportPrintsLandscapeWhileThePreviewStaysPortrait)
{
    makePanel(ReportDefinitions::Form8());
    setup.choose = [](PrintSetupRequest& r) { r.orientation = TRepOrientation::poLandscape; };
    openPreview([&](TRepStandardPreview& preview) {
        preview.PrintSetup->trigger();
        printFrom(preview);
        EXPECT_EQ(preview.destination()->Orientation, TRepOrientation::poPortrait);
        EXPECT_EQ(preview.RepPreview->pagePixels(), QSize(794, 1123));
    });
    ASSERT_EQ(printers->jobs.size(), 1u);
    EXPECT_EQ(printers->jobs[0].orientation, QPageLayout::Landscape);
    const PdfInfo info = pdfInfo(printers->jobs[0].file);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.widthPt, 842, 1);
    EXPECT_NEAR(info.heightPt, 595, 1);
}

TEST_F(Printing, CancelledSetupLeavesTheSettingsAndTagsTheReport)
{
    makePanel(ReportDefinitions::Form8());
    setup.accept = false;
    setup.choose = [](PrintSetupRequest& r) { r.copies = 5; };
    openPreview([&](TRepStandardPreview& preview) { preview.PrintSetup->trigger(); });
    EXPECT_EQ(setup.asked.size(), 1u);
    EXPECT_EQ(panel->report().Tag, 1);
    EXPECT_EQ(panel->report().PrinterSettings.Copies, 1);
    EXPECT_EQ(panel->report().Page.Orientation(), TRepOrientation::poPortrait);
}

TEST_F(Printing, CancelButtonEndsTheJobWithThePagesSoFar)
{
    addEmployees(200);  // 12 pages
    makePanel(ReportDefinitions::Form9(&peg()));
    QTimer watch;
    watch.setInterval(0);
    int cancelledAt = -1;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        TRepProgressForm* form = panel->progressForm();
        if (form && form->Gauge->value() >= 35) {
            cancelledAt = form->Gauge->value();
            QTest::mouseClick(form->CancelButton, Qt::LeftButton);
            watch.stop();
        }
    });
    std::string before;
    openPreview([&](TRepStandardPreview& preview) {
        before = current();
        watch.start();
        printFrom(preview);
        EXPECT_EQ(preview.destination()->PageCount(), 12);
    });
    EXPECT_GE(cancelledAt, 35);
    ASSERT_EQ(printers->jobs.size(), 1u);
    const PrintJobRecord& job = printers->jobs[0];
    EXPECT_TRUE(job.ended);
    EXPECT_FALSE(job.aborted);
    const int pages = pdfInfo(job.file).pages;
    EXPECT_GE(pages, 4);
    EXPECT_LT(pages, 12);
    EXPECT_EQ(pages, job.sheets);
    // a stopped print read through its own cursor: the table stays put
    EXPECT_EQ(current(), before);
}

TEST_F(Printing, ClosingTheProgressWindowByItsFrameCancelsAsItsButtonDoes)
{
    addEmployees(200);  // 12 pages
    makePanel(ReportDefinitions::Form9(&peg()));
    QTimer watch;
    watch.setInterval(0);
    int closedAt = -1;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        TRepProgressForm* form = panel->progressForm();
        if (form && form->Gauge->value() >= 35) {
            closedAt = form->Gauge->value();
            form->close();  // what the frame's close box asks
            watch.stop();
        }
    });
    openPreview([&](TRepStandardPreview& preview) {
        watch.start();
        printFrom(preview);
    });
    EXPECT_GE(closedAt, 35);
    ASSERT_EQ(printers->jobs.size(), 1u);
    const PrintJobRecord& job = printers->jobs[0];
    EXPECT_TRUE(job.ended);
    const int pages = pdfInfo(job.file).pages;
    EXPECT_GE(pages, 4);
    EXPECT_LT(pages, 12);
}

TEST_F(Printing, LoadedFilePrintsItsStoredPagesOverThePrintableArea)
{
    addEmployees(40);
    const std::string file = db_->root() + "/three.RPF";
    std::vector<std::vector<std::uint8_t>> pages;
    {
        auto report = ReportDefinitions::Form9(&peg());
        TRepPrinter destination;
        report->RunReport(destination);
        destination.Save(file);
        for (int n = 1; n <= 3; ++n)
            pages.push_back(*destination.GetPage(n));
    }
    makePanel(ReportDefinitions::Form8());
    dialogs.answer = QString::fromStdString(file);
    openPreview([&](TRepStandardPreview& preview) {
        preview.LoadReport->trigger();
        preview.Print->trigger();
        EXPECT_EQ(printers->jobs.size(), 1u);  // straight away: no run behind it
    });
    ASSERT_EQ(printers->jobs.size(), 1u);
    const PrintJobRecord& job = printers->jobs[0];
    EXPECT_TRUE(job.ended);
    EXPECT_EQ(job.paper, QPageSize::Legal);
    EXPECT_EQ(job.orientation, QPageLayout::Landscape);
    ASSERT_EQ(pdfInfo(job.file).pages, 3);
    for (int n = 1; n <= 3; ++n) {
        const QImage printed = renderPdf(job.file, n, Dpi);
        ASSERT_FALSE(printed.isNull());
        // the picture fills the printable area, inside the printer's margins
        const QRectF area = job.printable;
        const QRectF target(area.left() * Dpi, area.top() * Dpi, area.width() * Dpi, area.height() * Dpi);
        EXPECT_GT(sameInk(printed, renderPicture(pages[size_t(n - 1)], printed.size(), target)), 0.97) << "page " << n;
    }
}

TEST_F(Printing, WithoutAPrinterPrintSaysSoAndPrintsNothing)
{
    addEmployees(3);
    printers = std::make_unique<PdfPrinterSystem>(QString::fromStdString(db_->root()), 0);
    makePanel(ReportDefinitions::Form10(&peg()));
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    openPreview([&](TRepStandardPreview& preview) { printFrom(preview); });
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().text.toStdString(), "No printers are installed.");
    EXPECT_TRUE(printers->opened.empty());
    EXPECT_TRUE(printers->jobs.empty());
}

struct ProgressStep {
    int progress;
    int gauge;
    const char* info;
};

TEST(TRepProgressForm, ShowsOnlyMultiplesOfFive)
{
    const ProgressStep steps[] = {{33, 0, ""},
                                  {34, 0, ""},
                                  {35, 35, "35%  Completed"},
                                  {36, 35, "35%  Completed"},
                                  {100, 100, "100%  Completed"}};
    TRepPrinter destination(TRepPrinter::Mode::Printer);
    TRepProgressForm form(destination);
    destination.Observer = &form;
    EXPECT_EQ(form.size(), QSize(149, 97));
    EXPECT_EQ(form.Gauge->geometry(), QRect(16, 18, 114, 16));
    EXPECT_EQ(form.CancelButton->geometry(), QRect(36, 60, 75, 25));
    EXPECT_EQ(form.CancelButton->text().toStdString(), "Cancel");
    for (const ProgressStep& s : steps) {
        destination.setProgress(s.progress);
        QCoreApplication::processEvents();
        EXPECT_EQ(form.Gauge->value(), s.gauge) << s.progress;
        EXPECT_EQ(form.Info->text().toStdString(), s.info) << s.progress;
    }
    form.CancelButton->click();
    EXPECT_TRUE(destination.Cancelled());
}

struct DescriptionCase {
    const char* name;
    DeviceDescription description;
    QPageSize::PageSizeId paper;
    QPageLayout::Orientation orientation;
    QPrinter::DuplexMode duplex;
    QPrinter::PaperSource source;
};

class QtDeviceDescription : public testing::TestWithParam<DescriptionCase> {};

DeviceDescription described(int paper, int orientation, int duplex, int source, int copies = 1)
{
    DeviceDescription d;
    d.PaperSize = paper;
    d.Orientation = orientation;
    d.Duplex = duplex;
    d.DefaultSource = source;
    d.Copies = copies;
    return d;
}

TEST_P(QtDeviceDescription, ReachesThePrinterAndReadsBack)
{
    const DescriptionCase& c = GetParam();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    QtPrintDevice device(std::move(printer));
    device.SetDescription(c.description);
    EXPECT_EQ(device.printer().pageLayout().pageSize().id(), c.paper);
    EXPECT_EQ(device.printer().pageLayout().orientation(), c.orientation);
    EXPECT_EQ(QtPrintDevice::duplexModeOf(c.description.Duplex), c.duplex);
    EXPECT_EQ(QtPrintDevice::duplexCodeOf(c.duplex), c.description.Duplex);
    EXPECT_EQ(device.printer().paperSource(), c.source);
    EXPECT_EQ(device.printer().copyCount(), c.description.Copies);
    const DeviceDescription back = device.Description();
    EXPECT_EQ(back.Orientation, c.description.Orientation);
    EXPECT_EQ(back.DefaultSource, c.description.DefaultSource & DeviceDescription::SourceMask);
    if (c.description.PaperSize != DeviceDescription::UserPaper) {
        EXPECT_EQ(back.PaperSize, c.description.PaperSize);
    }
}

DeviceDescription custom()
{
    DeviceDescription d = described(DeviceDescription::UserPaper, 1, 1, 7);
    d.PaperWidth = 1000;
    d.PaperLength = 1500;
    return d;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, QtDeviceDescription,
    testing::Values(DescriptionCase{"LegalLandscape", described(5, 2, 1, 7), QPageSize::Legal, QPageLayout::Landscape,
                                    QPrinter::DuplexNone, QPrinter::Auto},
                    DescriptionCase{"A4HorizontalDuplexLowerTray", described(9, 1, 3, 0x100 | 2, 2), QPageSize::A4,
                                    QPageLayout::Portrait, QPrinter::DuplexShortSide, QPrinter::Lower},
                    DescriptionCase{"LetterVerticalDuplexManual", described(1, 1, 2, 4), QPageSize::Letter,
                                    QPageLayout::Portrait, QPrinter::DuplexLongSide, QPrinter::Manual},
                    DescriptionCase{"CassetteSource", described(8, 2, 1, 14), QPageSize::A3, QPageLayout::Landscape,
                                    QPrinter::DuplexNone, QPrinter::Cassette},
                    DescriptionCase{"UserPaper", custom(), QPageSize::Custom, QPageLayout::Portrait,
                                    QPrinter::DuplexNone, QPrinter::Auto}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
