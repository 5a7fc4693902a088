#include "TRepStandardPreview.h"
#include "HandlerGuard.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QToolButton>

#include "MessageBoxes.h"
#include "PdfExport.h"
#include "PreviewGlyphs.h"
#include "TRepProgressForm.h"

const QString TRepStandardPreview::SaveFilter = QStringLiteral("Report file") + QStringLiteral("(*.") +
                                                QStringLiteral("RPF") + QStringLiteral(")|*.") + QStringLiteral("RPF") +
                                                QStringLiteral("|PDF file (*.pdf)|*.pdf");
const QString TRepStandardPreview::LoadFilter = QStringLiteral("Report file") + QStringLiteral(" (*.") +
                                                QStringLiteral("RPF") + QStringLiteral(")|*.") + QStringLiteral("RPF");

TRepStandardPreview::TRepStandardPreview(TRepPrinter& destination, FileDialogs* dialogs)
    : destination_(&destination), dialogs_(dialogs ? dialogs : &standardDialogs_)
{
    setObjectName(QStringLiteral("RepStandardPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    resize(652, 579);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setAttribute(Qt::WA_AlwaysShowToolTips);
    buildToolBar();
    RepPreview = new TRepPreview(this);
    setCentralWidget(RepPreview);
    buildStatusBar();
    RepPreview->OnPageAvailable = [this](int pages) { RepPreviewPageAvailable(pages); };
    RepPreview->OnProgressUpdate = [this](int percent) { RepPreviewProgressUpdate(percent); };

    setWindowState(Qt::WindowMaximized);
    RepPreview->setDestination(destination_);
    showTitle();
    ZoomToWidth->trigger();
    // Saving and exporting wait, as printing does, for the run to end.
    const bool finished = destination_->status() == TRepPrinter::Status::Finished;
    Print->setEnabled(finished);
    SaveReport->setEnabled(finished);
    // The window sees its keys before its controls do.
    qApp->installEventFilter(this);
}

TRepStandardPreview::~TRepStandardPreview()
{
    qApp->removeEventFilter(this);
    RepPreview->detach();
}

QAction* TRepStandardPreview::addButton(const char* name, int image, const char* hint,
                                        void (TRepStandardPreview::*click)())
{
    QAction* action = ToolBar1->addAction(QIcon(PreviewGlyphs::glyph(image)), QString());
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(QString::fromLatin1(hint));
    connect(action, &QAction::triggered, this, guard([this, click] { (this->*click)(); }));
    if (QWidget* button = ToolBar1->widgetForAction(action))
        button->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* TRepStandardPreview::addDivider(const char* name)
{
    QAction* action = ToolBar1->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void TRepStandardPreview::buildToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setContentsMargins(2, 2, 2, 2);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ToolButton1 = addDivider("ToolButton1");
    ZoomFit = addButton("ZoomFit", 0, "Zoom to fit", &TRepStandardPreview::ZoomToFitClick);
    Zoom100 = addButton("Zoom100", 1, "100%", &TRepStandardPreview::ZoomTo100Click);
    ZoomToWidth = addButton("ZoomToWidth", 2, "Zoom to width", &TRepStandardPreview::ZoomToWidthClick);
    auto* zoomGroup = new QActionGroup(this);
    for (QAction* zoom : {ZoomFit, Zoom100, ZoomToWidth}) {
        zoom->setCheckable(true);
        zoomGroup->addAction(zoom);
    }
    Separator1 = addDivider("Separator1");
    FirstPage = addButton("FirstPage", 3, "First page", &TRepStandardPreview::FirstPageClick);
    PreviousPage = addButton("PreviousPage", 4, "Previous page", &TRepStandardPreview::PrevPageClick);
    ToolButton2 = addButton("ToolButton2", 5, "Next page", &TRepStandardPreview::NextPageClick);
    LastPage = addButton("LastPage", 6, "Last page", &TRepStandardPreview::LastPageClick);
    Separator2 = addDivider("Separator2");
    PrintSetup = addButton("PrintSetup", 7, "Printer setup", &TRepStandardPreview::PrintSetupClick);
    Print = addButton("Print", 8, "Print", &TRepStandardPreview::PrintClick);
    PrintSetup->setEnabled(false);
    Print->setEnabled(false);
    Separator3 = addDivider("Separator3");
    SaveReport = addButton("SaveReport", 10, "Save Report", &TRepStandardPreview::SaveClick);
    LoadReport = addButton("LoadReport", 9, "Load Report", &TRepStandardPreview::LoadClick);
    Separator4 = addDivider("Separator4");
    ExitButton = new QPushButton(QStringLiteral("&Close"), ToolBar1);
    ExitButton->setObjectName(QStringLiteral("ExitButton"));
    ExitButton->setFixedSize(40, 22);
    ToolBar1->addWidget(ExitButton);
    connect(ExitButton, &QPushButton::clicked, this, guard([this] { ExitClick(); }));
}

void TRepStandardPreview::buildStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    ProgressPanel = new QLabel(QStringLiteral("0%"));
    ProgressPanel->setObjectName(QStringLiteral("Panel0"));
    ProgressPanel->setFixedWidth(40);
    ProgressPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PagePanel = new QLabel(QStringLiteral("Page"));
    PagePanel->setObjectName(QStringLiteral("Panel1"));
    PagePanel->setMinimumWidth(50);
    StatusBar->addWidget(ProgressPanel);
    StatusBar->addWidget(PagePanel, 1);
    setStatusBar(StatusBar);
}

// Two previews open at once are told apart by their report's name.
void TRepStandardPreview::showTitle()
{
    const std::string& title = destination_ ? destination_->Title : std::string();
    setWindowTitle(title.empty() ? QStringLiteral("Print Preview")
                                 : QStringLiteral("Print Preview - ") + QString::fromStdString(title));
}

void TRepStandardPreview::Open()
{
    showMaximized();
    UpdateInfo();
}

void TRepStandardPreview::UpdateInfo()
{
    const int count = destination_ ? destination_->PageCount() : 0;
    QString text = QStringLiteral("Page") + QLatin1Char(' ') + QString::number(RepPreview->PageNumber()) +
                   QLatin1Char(' ') + QStringLiteral("of") + QLatin1Char(' ') + QString::number(count);
    // A run that failed (no room for its pages, a table error) keeps the
    // pages it made; the panel says they are not the whole report.
    if (destination_ && destination_->Incomplete())
        text += QStringLiteral(" (incomplete)");
    PagePanel->setText(text);
}

void TRepStandardPreview::ZoomToFitClick()
{
    ZoomFit->setChecked(true);
    RepPreview->ZoomToFit();
}

void TRepStandardPreview::ZoomTo100Click()
{
    Zoom100->setChecked(true);
    RepPreview->setZoom(100);
}

void TRepStandardPreview::ZoomToWidthClick()
{
    ZoomToWidth->setChecked(true);
    RepPreview->ZoomToWidth();
}

void TRepStandardPreview::FirstPageClick()
{
    RepPreview->setPageNumber(1);
    UpdateInfo();
}

void TRepStandardPreview::PrevPageClick()
{
    RepPreview->setPageNumber(RepPreview->PageNumber() - 1);
    UpdateInfo();
}

void TRepStandardPreview::NextPageClick()
{
    RepPreview->setPageNumber(RepPreview->PageNumber() + 1);
    UpdateInfo();
}

void TRepStandardPreview::LastPageClick()
{
    if (destination_)
        RepPreview->setPageNumber(destination_->PageCount());
    UpdateInfo();
}

void TRepStandardPreview::PrintSetupClick()
{
    if (destination_ && destination_->OnPrintSetup)
        destination_->OnPrintSetup();
}

void TRepStandardPreview::PrintClick()
{
    if (!destination_)
        return;
    if (!destination_->PrinterPresent()) {
        ShowMessage(QStringLiteral("No printers are installed."));
        return;
    }
    destination_->Print();
}

// The name typed says the format: ".pdf" a PDF file, ".RPF" a report file;
// a name with neither takes the chosen filter's extension. -1: no format.
int TRepStandardPreview::saveFormat(QString& name, int filter)
{
    const QString suffix = QFileInfo(name).suffix();
    if (suffix.compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0)
        return PdfFilter;
    if (suffix.compare(QStringLiteral("RPF"), Qt::CaseInsensitive) == 0)
        return ReportFilter;
    if (filter < 0)
        filter = ReportFilter;  // a dialog that cannot tell its filter
    const QString extension = QtFileDialogs::extension(SaveFilter, filter);
    if (extension.isEmpty())
        return -1;
    name += QLatin1Char('.') + extension;
    return filter;
}

void TRepStandardPreview::SaveClick()
{
    QString name;
    int filter = 0;
    if (!destination_ || destination_->status() != TRepPrinter::Status::Finished ||
        !dialogs_->Save({QStringLiteral("Save report"), SaveFilter, QStringLiteral("RPF")}, name, filter) ||
        !destination_)
        return;
    const int format = saveFormat(name, filter);
    if (format == ReportFilter)
        destination_->Save(name.toStdString());
    else if (format == PdfFilter)
        exportPdf(name);
}

// The export shows its progress and can be cancelled, as a print run can;
// the preview goes on answering meanwhile, but what would change or release
// the pages waits until the export is over.
void TRepStandardPreview::exportPdf(const QString& name)
{
    TRepPrinter& destination = *destination_;
    TRepProgressForm progress(destination, this);
    progress.setWindowTitle(QStringLiteral("Export progress"));
    progress.show();
    destination.clearCancelled();
    const std::vector<QAction*> paused = {PrintSetup, Print, SaveReport, LoadReport};
    std::vector<bool> enabled;
    for (QAction* action : paused) {
        enabled.push_back(action->isEnabled());
        action->setEnabled(false);
    }
    exporting_ = true;
    const auto resume = [&] {
        exporting_ = false;
        for (size_t i = 0; i < paused.size(); ++i)
            paused[i]->setEnabled(enabled[i]);
        destination.setProgress(0);
    };
    try {
        PdfExport::write(destination, name, [&](int written, int pages) {
            destination.setProgress(written * 100 / pages);
            progress.UpdateProgress();
            QCoreApplication::processEvents();
            return !destination.Cancelled();
        });
    } catch (...) {
        resume();
        throw;
    }
    resume();
    if (closeAfterExport_)
        close();
}

void TRepStandardPreview::LoadClick()
{
    QString name;
    if (!destination_ || !dialogs_->Open({QStringLiteral("Load report"), LoadFilter, QString()}, name) || !destination_)
        return;
    if (!QFileInfo::exists(name)) {
        ShowMessage(QStringLiteral("File does not exist"));
        return;
    }
    destination_->Load(name.toStdString());
    RepPreview->setPageNumber(1);
    RepPreview->showPage();
    UpdateInfo();
    showTitle();
    // Setup now describes the loaded pages.
    PrintSetup->setEnabled(static_cast<bool>(destination_->OnPrintSetup));
    Print->setEnabled(true);
    SaveReport->setEnabled(true);
}

void TRepStandardPreview::ExitClick()
{
    close();
}

void TRepStandardPreview::RepPreviewPageAvailable(int pages)
{
    if (!destination_)
        return;
    if (pages == RepPreview->PageNumber() && RepPreview->pageImage()->empty()) {
        RepPreview->ZoomToWidth();
        RepPreview->showPage();
    }
    // While the run adds pages the count is shown a few times a second:
    // laying the status bar out again for every page costs more than the page.
    const bool over = destination_->status() == TRepPrinter::Status::Finished || destination_->Incomplete();
    if (over || !infoShown_.isValid() || infoShown_.elapsed() >= 100) {
        UpdateInfo();
        infoShown_.start();
    }
    if (destination_->status() == TRepPrinter::Status::Finished) {
        PrintSetup->setEnabled(true);
        Print->setEnabled(true);
        SaveReport->setEnabled(true);
    }
}

void TRepStandardPreview::RepPreviewProgressUpdate(int percent)
{
    if (percent >= lastProgress_ + 5) {
        ProgressPanel->setText(QString::number(percent) + QLatin1Char('%'));
        lastProgress_ = percent;
    }
    if (percent == 0 || percent == 100)
        ProgressPanel->clear();
}

// Closing tells the report through the destination, which may release the
// destination at once: the window lets go of it first.
void TRepStandardPreview::closeEvent(QCloseEvent* event)
{
    guardedEvent(event, [&] {
        // The export reads the pages: it stops first, and the window closes
        // once it has.
        if (exporting_) {
            event->ignore();
            closeAfterExport_ = true;
            if (destination_)
                destination_->Cancel();
            return;
        }
        event->accept();
        if (closed_)
            return;
        closed_ = true;
        TRepPrinter* destination = destination_;
        destination_ = nullptr;
        RepPreview->detach();
        if (destination)
            destination->ClosePreview();
    });
}

bool TRepStandardPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        bool used = true;  // a key whose command failed is used up
        guarded([&] { used = handleKey(key->key(), key->modifiers()); });
        if (used)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TRepStandardPreview::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrlAlone = (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
    switch (key) {
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_PageUp:
        ctrlAlone ? FirstPageClick() : PrevPageClick();
        return true;
    case Qt::Key_PageDown:
        ctrlAlone ? LastPageClick() : NextPageClick();
        return true;
    case Qt::Key_Home:
        FirstPageClick();
        return true;
    case Qt::Key_End:
        LastPageClick();
        return true;
    default:
        return false;
    }
}
