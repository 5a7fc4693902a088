#pragma once
#include "TDataSet.h"
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ReportUnits.h"
#include "TRepBand.h"
#include "TRepPage.h"
#include "TRepPrinter.h"
#include "TextMeasurer.h"

struct TRepOptions {
    bool FirstPageHeader = true;
    bool LastPageFooter = true;
    bool Compression = false;
};

struct TRepPrinterSettings {
    int PrinterIndex = -1;  // the platform's default printer
    int Copies = 1;
    bool Duplex = false;
    int FirstPage = 0;
    int LastPage = 0;
    TRepOutputBin OutputBin = TRepOutputBin::Auto;
};

// A report: a page of bands run over a dataset. RunReport walks the dataset
// and draws the bands page by page on a destination; all run positions are
// tenths of a millimetre from the paper's top-left corner.
class TBandReport {
public:
    explicit TBandReport(std::string name = "Report1");

    // Takes ownership; bands are kept in order of definition.
    TRepBand* addBand(std::unique_ptr<TRepBand> band);
    const std::vector<std::unique_ptr<TRepBand>>& bands() const { return bands_; }
    // A control placed on the report itself, printed when a page closes.
    TRepPrintable* addControl(std::unique_ptr<TRepPrintable> control);
    // The first band of a type, enabled or not; nullptr when none.
    TRepBand* findBand(TRepBandType type) const;

    // Runs the report once into the destination; does nothing while a run
    // is in progress. Leaves the dataset on its last record.
    void RunReport(TRepPrinter& destination);
    // Stops a run at the next record and aborts its document.
    void Cancel() { cancelled_ = true; }
    bool Available() const { return available_; }
    bool Cancelled() const { return cancelled_; }

    TRepUnits Units() const { return units_; }
    // Applies to the page, every band and every control.
    void setUnits(TRepUnits units);
    int Zoom() const { return zoom_; }
    void setZoom(int zoom);

    std::string Name;
    TDataSet* DataSet = nullptr;  // does not take ownership
    TRepPage Page;
    TRepPrinterSettings PrinterSettings;
    TRepOptions Options;
    bool PrintIfEmpty = true;
    ReportFont Font;
    std::string ReportTitle;
    bool ShowProgress = true;
    int Tag = 0;  // the print-setup dialog leaves 1 after Cancel, 0 after OK
    TRepFrame Frame;
    std::map<std::string, std::string> Functions;
    const TextMeasurer* Measurer = nullptr;  // does not take ownership; a fixed pitch when null
    // Lets the window system handle pending messages between records.
    std::function<void()> ProcessMessages;
    std::function<void(TBandReport&, bool& print)> BeforePrint;
    std::function<void(TBandReport&)> OnStartPage;
    std::function<void(TBandReport&)> OnEndPage;

    // Run state.
    double CurrentX = 0;
    double CurrentY = -1;
    int CurrentColumn = 1;
    int PageCount = 0;
    double ColumnTop = 0;
    double PageFooterHeight = 0;
    bool LastPage = false;
    bool FinalPass = true;

    double SpaceLeft() const;
    void AdvanceColumn();
    void OpenPage();
    void ClosePage();
    void EmitBand(TRepBand* band);

private:
    struct Pending;

    void traverse();
    void traverseMoving(TDataSet& data);
    void traverseRecords(const std::function<bool()>& printRecord, int count);
    static int recordCount(TDataSet& data);
    void printEmptyForm();
    void emitBand(TRepBand* band, bool asPageFooter);
    bool isPageBand(const TRepBand& band, bool asPageFooter) const;
    double pageHeightOnPaper() const;
    double printControl(TRepPrintable& control, double x, double y, Pending* pending);
    void continuePending(std::vector<Pending>& pending);
    void drawFrame(const TRepFrame& frame, double left, double top, double right, double bottom);
    ReportFont controlFont(const TRepPrintable& control) const;
    PageFont pageFont(const ReportFont& font) const;
    void processMessages();
    const TextMeasurer& measurer() const;
    void prepare();
    void unprepare();

    std::vector<std::unique_ptr<TRepBand>> bands_;
    std::vector<std::unique_ptr<TRepPrintable>> controls_;
    UnitContext context_;
    TRepUnits units_ = TRepUnits::MM;
    int zoom_ = 100;
    bool available_ = true;
    bool cancelled_ = false;
    bool forcedNewPage_ = false;
    bool forcedNewColumn_ = false;
    bool skipForcedPage_ = false;
    TRepPrinter* destination_ = nullptr;
};
