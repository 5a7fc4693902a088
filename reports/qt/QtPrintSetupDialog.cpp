#include "QtPrintSetupDialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "MessageBoxes.h"

namespace {

// Choices of Qt's dialog that the next run would not follow: a list of
// pages, page sets, reverse order, collation, colour, duplex and the
// driver's own properties. They are not offered.
const char* const unhonoured[] = {"pagesRadioButton", "pagesLineEdit", "pageSetLabel", "pageSetCombo", "reverse",
                                  "collate",          "colorMode",     "duplex",       "properties"};

// The dialog shows some of them again when another printer is chosen: they
// are kept hidden.
class KeptHidden : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            static_cast<QWidget*>(watched)->hide();
        return QObject::eventFilter(watched, event);
    }
};

void hideUnhonoured(QPrintDialog& dialog)
{
    auto* keeper = new KeptHidden(&dialog);
    for (const char* name : unhonoured)
        for (QWidget* widget : dialog.findChildren<QWidget*>(QString::fromLatin1(name))) {
            widget->setEnabled(false);
            widget->hide();
            widget->installEventFilter(keeper);
        }
}

// A tab left with nothing to choose (Qt's "Options" tab, once its page sets,
// colour and duplex are hidden) is not shown empty: it goes.
void dropEmptyTabs(QPrintDialog& dialog)
{
    for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>())
        for (int i = tabs->count() - 1; i >= 0; --i) {
            QWidget* page = tabs->widget(i);
            bool offers = false;
            for (QWidget* w : page->findChildren<QWidget*>())
                offers = offers || (w->isVisibleTo(page) && w->focusPolicy() != Qt::NoFocus);
            if (!offers)
                tabs->removeTab(i);
        }
}

// The page orientation, as a tab of the dialog's options.
QWidget* orientationTab(TRepOrientation orientation)
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("orientationTab"));
    tab->setWindowTitle(QStringLiteral("Orientation"));
    auto* portrait = new QRadioButton(QStringLiteral("Portrait"), tab);
    portrait->setObjectName(QStringLiteral("portrait"));
    auto* landscape = new QRadioButton(QStringLiteral("Landscape"), tab);
    landscape->setObjectName(QStringLiteral("landscape"));
    (orientation == TRepOrientation::poLandscape ? landscape : portrait)->setChecked(true);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(portrait);
    layout->addWidget(landscape);
    layout->addStretch();
    return tab;
}

// The dialog only sets up the next print; its accept button says so.
void labelAccept(QPrintDialog& dialog)
{
    for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
        if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
}

}  // namespace

bool QtPrintSetupDialog::Execute(PrintSetupRequest& request)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) {
        if (request.warnNoPrinter)
            MessageDlg(QStringLiteral("No printers are installed."), MessageDialogType::Warning,
                       MessageButtons{MessageButton::OK});
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
    dialog.setObjectName(QStringLiteral("PrintSetupDialog"));
    dialog.setWindowTitle(QStringLiteral("Printer setup"));
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
    QWidget* orientation = orientationTab(request.orientation);
    dialog.setOptionTabs({orientation});
    // The dialog opens on the range the next print will use.
    dialog.setPrintRange(request.range == PrintSetupRequest::Range::PageRange ? QAbstractPrintDialog::PageRange
                                                                              : QAbstractPrintDialog::AllPages);
    hideUnhonoured(dialog);
    dropEmptyTabs(dialog);
    labelAccept(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.copies = printer.copyCount();
    request.orientation = orientation->findChild<QRadioButton*>(QStringLiteral("landscape"))->isChecked()
                              ? TRepOrientation::poLandscape
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
