#include "QtPrintSetupDialog.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "MessageBoxes.h"

bool QtPrintSetupDialog::Execute(PrintSetupRequest& request)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) {
        if (request.warnNoPrinter)
            MessageDlg(QStringLiteral("No printers are installed."), MessageDialogType::Warning, MessageButtons{MessageButton::OK});
        return false;
    }
    const QPrinterInfo info = request.printerIndex >= 0 && request.printerIndex < printers.size()
        ? printers[request.printerIndex]
        : QPrinterInfo::defaultPrinter();
    QPrinter printer(info);
    printer.setPageOrientation(request.orientation == TRepOrientation::poLandscape ? QPageLayout::Landscape
                                                                                   : QPageLayout::Portrait);
    printer.setCopyCount(request.copies);
    QPrintDialog dialog(&printer);
    dialog.setMinMax(request.minPage, request.maxPage);
    printer.setFromTo(request.fromPage, request.toPage);
    QAbstractPrintDialog::PrintDialogOptions options;
    if (request.pageRangeEnabled)
        options |= QAbstractPrintDialog::PrintPageRange;
    if (request.selectionEnabled)
        options |= QAbstractPrintDialog::PrintSelection;
    if (request.printToFileShown)
        options |= QAbstractPrintDialog::PrintToFile;
    dialog.setOptions(options);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.copies = printer.copyCount();
    request.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? TRepOrientation::poLandscape
                                                                                       : TRepOrientation::poPortrait;
    request.printerIndex = -1;
    for (qsizetype i = 0; i < printers.size(); ++i)
        if (printers[i].printerName() == printer.printerName())
            request.printerIndex = static_cast<int>(i);
    switch (printer.printRange()) {
    case QPrinter::PageRange:
        request.range = PrintSetupRequest::Range::PageRange;
        request.fromPage = printer.fromPage();
        request.toPage = printer.toPage();
        break;
    case QPrinter::Selection:
        request.range = PrintSetupRequest::Range::Selection;
        break;
    default:
        request.range = PrintSetupRequest::Range::AllPages;
        break;
    }
    return true;
}
