#pragma once
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <memory>
#include <utility>

#include "FileDialogs.h"
#include "PrintSetupDialog.h"
#include "PrinterMaster.h"
#include "QtFileDialogs.h"
#include "QtPrintSetupDialog.h"
#include "QtPrinterSystem.h"
#include "QtTextMeasurer.h"
#include "TBandReport.h"
#include "TRepProgressForm.h"
#include "TRepStandardPreview.h"

// The report panel of a report window (`Report1`): the report with what it
// does on screen and on paper. OpenPreview runs the report into a preview
// and returns when the preview closes; the preview's Print runs it again
// straight to the printer with a progress window.
class ReportPanel : public QObject, public PrinterMaster {
    Q_OBJECT
public:
    // Takes ownership of the report.
    explicit ReportPanel(std::unique_ptr<TBandReport> report, QObject* parent = nullptr);
    ~ReportPanel() override;

    TBandReport& report() { return *report_; }

    // Runs the report into a new preview and handles window messages until
    // the preview closes or the program ends; other windows stay usable.
    // While this report's preview is open it is brought to the front instead.
    void OpenPreview();
    // Runs the report again to the printer, with the progress window; does
    // nothing while the report runs or without a printer.
    void PrintReport();
    // The print-setup dialog: printer, orientation, copies and page range
    // for the next run (cancel leaves the report's Tag 1); after a file was
    // loaded into the preview, for printing that file's pages.
    void ChoosePrinter();

    // The open preview, and the progress window while printing.
    TRepStandardPreview* preview() const { return preview_.get(); }
    TRepProgressForm* progressForm() const { return progress_; }

    // What the panel prints on and asks through (not owned); the platform's
    // own unless set.
    PrinterSystem* Printers;
    PrintSetupDialog* SetupDialog;
    FileDialogs* Dialogs;

    void PrintRequested(TRepPrinter& destination) override;
    void PreviewClosed(TRepPrinter& destination) override;

signals:
    void previewOpened(TRepStandardPreview* preview);

private:
    void releasePreview();
    PrintSetupRequest setupRequest(int printerIndex, TRepOrientation orientation, int copies, int firstPage,
                                   int lastPage) const;
    void chooseForLoadedFile(TRepPrinter& destination);

    std::unique_ptr<TBandReport> report_;
    QtTextMeasurer measurer_;
    QtPrinterSystem platformPrinters_;
    QtPrintSetupDialog platformSetup_;
    QtFileDialogs platformDialogs_;
    std::unique_ptr<TRepPrinter> destination_;
    std::unique_ptr<TRepStandardPreview> preview_;
    TRepPrinter* printing_ = nullptr;
    TRepProgressForm* progress_ = nullptr;
    bool previewRun_ = false;
    std::pair<int, int> definedRange_;  // the report's own first and last page
    QPointer<QEventLoop> loop_;
};
