#include "ReportPanel.h"

#include "HandlerGuard.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "TApplication.h"

namespace {

void processMessages()
{
    QCoreApplication::processEvents();
}

// A run asks once per record; each look at the window system costs a poll
// of its connection, about as much as printing a record. Every sixteenth
// ask keeps the preview and its Close button answering within a page (some
// tenths of a millisecond).
void processMessagesNowAndThen()
{
    static unsigned asked = 0;
    if (asked++ % 16 == 0)
        processMessages();
}

bool terminated()
{
    const TApplication* app = TApplication::instance();
    return app && app->Terminated();
}

// Clears a flag when the scope ends, however it ends.
class Flag {
public:
    explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag() { flag_ = false; }

private:
    bool& flag_;
};

}  // namespace

ReportPanel::ReportPanel(std::unique_ptr<TBandReport> report, QObject* parent)
    : QObject(parent), Printers(&platformPrinters_), SetupDialog(&platformSetup_), Dialogs(&platformDialogs_),
      report_(std::move(report))
{
    setObjectName(QString::fromStdString(report_->Name));
    definedRange_ = {report_->PrinterSettings.FirstPage, report_->PrinterSettings.LastPage};
    report_->Measurer = &measurer_;
    report_->ProcessMessages = processMessagesNowAndThen;
}

ReportPanel::~ReportPanel()
{
    if (loop_)
        loop_->quit();
    preview_.reset();
    destination_.reset();
}

void ReportPanel::OpenPreview()
{
    processMessages();
    if (!report_->Available())
        return;
    if (preview_ && preview_->closed())
        releasePreview();
    if (preview_) {
        preview_->raise();
        preview_->activateWindow();
        return;
    }
    destination_ = std::make_unique<TRepPrinter>(TRepPrinter::Mode::PageStore);
    TRepPrinter& destination = *destination_;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        destination.ScreenPixelsPerInch = screen->logicalDotsPerInchX();
    destination.Master = this;
    destination.Printers = Printers;
    destination.ProcessMessages = processMessages;
    destination.OnPrintSetup = [this] { ChoosePrinter(); };
    destination.Title = report_->ReportTitle;
    preview_ = std::make_unique<TRepStandardPreview>(destination, Dialogs);
    preview_->Open();
    emit previewOpened(preview_.get());
    bool finished = false;
    {
        Flag running(previewRun_);
        finished = report_->RunReport(destination);
    }
    if (!finished) {
        releasePreview();
        return;
    }
    QEventLoop loop;
    loop_ = &loop;
    if (destination_ && destination_->ShowingPreview() && !terminated())
        loop.exec();
    // Closed, or the program is ending: the preview goes either way.
    releasePreview();
}

// The page range chosen in the preview's setup was for its pages: the next
// preview starts from the report's own range again.
void ReportPanel::releasePreview()
{
    preview_.reset();
    destination_.reset();
    report_->PrinterSettings.FirstPage = definedRange_.first;
    report_->PrinterSettings.LastPage = definedRange_.second;
}

void ReportPanel::PreviewClosed(TRepPrinter& destination)
{
    if (&destination != destination_.get())
        return;
    if (previewRun_) {
        report_->Cancel();
        return;
    }
    // A print run started from this preview ends with it.
    if (!report_->Available())
        report_->Cancel();
    destination.setShowingPreview(false);
    if (destination.AfterPreview)
        destination.AfterPreview();
    destination_.reset();
    if (loop_)
        loop_->quit();
}

// Posted, as the preview's print request is: the run starts from the
// message loop, not from inside the button's click.
void ReportPanel::PrintRequested(TRepPrinter& destination)
{
    if (&destination != destination_.get() || destination.ReportLoaded())
        return;
    QMetaObject::invokeMethod(this, guard([this] { PrintReport(); }), Qt::QueuedConnection);
}

void ReportPanel::PrintReport()
{
    if (!report_->Available() || !Printers || Printers->PrinterCount() <= 0)
        return;
    TRepPrinter printer(TRepPrinter::Mode::Printer);
    printer.Printers = Printers;
    printer.Master = this;
    printer.ProcessMessages = processMessages;
    TRepProgressForm progress(printer);
    printer.Observer = &progress;
    progress_ = &progress;
    printing_ = &printer;
    if (report_->ShowProgress)
        progress.show();
    try {
        report_->RunReport(printer);
    } catch (...) {
        progress_ = nullptr;
        printing_ = nullptr;
        throw;
    }
    progress_ = nullptr;
    printing_ = nullptr;
}

// The dialog opens on these settings and the pages there are; a range chosen
// earlier still holds and shows, so what it shows is what prints.
PrintSetupRequest ReportPanel::setupRequest(int printerIndex, TRepOrientation orientation, int copies, int firstPage,
                                            int lastPage) const
{
    PrintSetupRequest request;
    request.printerIndex = printerIndex;
    request.orientation = orientation;
    request.copies = copies;
    if (destination_ && destination_->status() == TRepPrinter::Status::Finished) {
        request.minPage = request.fromPage = 1;
        request.maxPage = request.toPage = destination_->PageCount();
    }
    if (firstPage > 0 || lastPage > 0) {
        request.range = PrintSetupRequest::Range::PageRange;
        request.fromPage = std::clamp(firstPage > 0 ? firstPage : request.minPage, request.minPage, request.maxPage);
        request.toPage = std::clamp(lastPage > 0 ? lastPage : request.maxPage, request.fromPage, request.maxPage);
    }
    return request;
}

void ReportPanel::ChoosePrinter()
{
    if (destination_ && destination_->ReportLoaded()) {
        chooseForLoadedFile(*destination_);
        return;
    }
    TBandReport& report = *report_;
    const TRepPrinterSettings& settings = report.PrinterSettings;
    PrintSetupRequest request = setupRequest(settings.PrinterIndex, report.Page.Orientation(), settings.Copies,
                                             settings.FirstPage, settings.LastPage);
    if (!SetupDialog->Execute(request)) {
        report.Tag = 1;
        return;
    }
    report.PrinterSettings.Copies = request.copies;
    report.PrinterSettings.PrinterIndex = request.printerIndex;
    if (request.orientation != report.Page.Orientation())
        report.Page.setOrientation(request.orientation);
    const bool range = request.range == PrintSetupRequest::Range::PageRange;
    report.PrinterSettings.FirstPage = range ? request.fromPage : 0;
    report.PrinterSettings.LastPage = range ? request.toPage : 0;
    report.Tag = 0;
}

// A loaded file's pages are not this report's: the setup describes them and
// goes to the destination that prints them.
void ReportPanel::chooseForLoadedFile(TRepPrinter& destination)
{
    PrintSetupRequest request = setupRequest(destination.PrinterIndex, destination.Orientation, destination.Copies,
                                             destination.FirstPage, destination.LastPage);
    if (!SetupDialog->Execute(request))
        return;
    destination.Copies = request.copies;
    destination.PrinterIndex = request.printerIndex;
    destination.Orientation = request.orientation;
    const bool range = request.range == PrintSetupRequest::Range::PageRange;
    destination.FirstPage = range ? request.fromPage : 0;
    destination.LastPage = range ? request.toPage : 0;
}
