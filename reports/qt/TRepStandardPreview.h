#pragma once
#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include "FileDialogs.h"
#include "QtFileDialogs.h"
#include "TRepPreview.h"
#include "TRepPrinter.h"

// The preview window of one report command: the pages of a destination in
// page-store mode, shown while they are produced, with page movement, zoom,
// print, print setup, save and load. Created per command; whoever opens it
// owns it and frees it once it has closed.
class TRepStandardPreview : public QMainWindow {
    Q_OBJECT
public:
    // Shows the destination (does not take ownership); the window is not
    // shown yet. dialogs: the file dialogs to ask (not owned), the standard
    // ones when null.
    explicit TRepStandardPreview(TRepPrinter& destination, FileDialogs* dialogs = nullptr);
    ~TRepStandardPreview() override;

    // Shows the window maximised and writes the page text.
    void Open();
    // The destination shown; nullptr once the window has closed.
    TRepPrinter* destination() const { return destination_; }
    bool closed() const { return closed_; }

    QToolBar* ToolBar1;
    QAction* ToolButton1;
    QAction* ZoomFit;
    QAction* Zoom100;
    QAction* ZoomToWidth;
    QAction* Separator1;
    QAction* FirstPage;
    QAction* PreviousPage;
    QAction* ToolButton2;
    QAction* LastPage;
    QAction* Separator2;
    QAction* PrintSetup;
    QAction* Print;
    QAction* Separator3;
    QAction* SaveReport;
    QAction* LoadReport;
    QAction* Separator4;
    QPushButton* ExitButton;
    TRepPreview* RepPreview;
    QStatusBar* StatusBar;
    QLabel* ProgressPanel;  // panel 0
    QLabel* PagePanel;      // panel 1

    void ZoomToFitClick();
    void ZoomTo100Click();
    void ZoomToWidthClick();
    void FirstPageClick();
    void PrevPageClick();
    void NextPageClick();
    void LastPageClick();
    void PrintSetupClick();
    void PrintClick();
    void SaveClick();
    void LoadClick();
    void ExitClick();
    void RepPreviewPageAvailable(int pages);
    void RepPreviewProgressUpdate(int percent);
    // Rewrites the page text: "Page 2 of 7".
    void UpdateInfo();

    // The report file, then the PDF export.
    static const QString SaveFilter;
    enum SaveFilterEntry { ReportFilter = 0, PdfFilter = 1 };
    static const QString LoadFilter;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addButton(const char* name, int image, const char* hint, void (TRepStandardPreview::*click)());
    QAction* addDivider(const char* name);
    void buildToolBar();
    void buildStatusBar();
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void showTitle();
    void exportPdf(const QString& name);
    static int saveFormat(QString& name, int filter);

    TRepPrinter* destination_;
    FileDialogs* dialogs_;
    QtFileDialogs standardDialogs_;
    int lastProgress_ = 0;
    QElapsedTimer infoShown_;  // since the page count was last shown during a run
    bool closed_ = false;
    bool exporting_ = false;
    bool closeAfterExport_ = false;
};
