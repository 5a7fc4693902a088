#pragma once
#include "TDataSet.h"
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ReportRun.h"
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

// A report: a page of bands run over a dataset. What the report is stays
// here; RunReport makes a ReportRun, which walks the dataset and draws the
// bands page by page on a destination. A run reads the report and never
// changes it: positions, page numbers, fields found and the cancel flag are
// the run's own.
class TBandReport {
public:
    explicit TBandReport(std::string name = "Report1");

    // Takes ownership; bands are kept in order of definition.
    TRepBand* addBand(std::unique_ptr<TRepBand> band);
    const std::vector<std::unique_ptr<TRepBand>>& bands() const { return bands_; }
    // A control placed on the report itself, printed when a page closes.
    PrintableText* addControl(std::unique_ptr<PrintableText> control);
    const std::vector<std::unique_ptr<PrintableText>>& controls() const { return controls_; }
    // The first band of a type, enabled or not; nullptr when none.
    TRepBand* findBand(TRepBandType type);
    const TRepBand* findBand(TRepBandType type) const;

    // Runs the report once into the destination; does nothing while a run
    // is in progress. Leaves the dataset on its last record. Returns false
    // when the run was cancelled.
    bool RunReport(TRepPrinter& destination);
    // Stops the run in progress at the next record and aborts its document;
    // nothing between runs.
    void Cancel();
    bool Available() const { return run_ == nullptr; }

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
    // Initial values; a run keeps its own (ReportRun::Functions).
    std::map<std::string, std::string> Functions;
    const TextMeasurer* Measurer = nullptr;  // does not take ownership; a fixed pitch when null
    // Lets the window system handle pending messages between records.
    std::function<void()> ProcessMessages;
    std::function<void(const TBandReport&, bool& print)> BeforePrint;
    std::function<void(const TBandReport&)> OnStartPage;
    std::function<void(const TBandReport&)> OnEndPage;

    // Room left on the page of the run in progress; 0 between runs.
    double SpaceLeft() const;
    // The run in progress; nullptr between runs.
    const ReportRun* ActiveRun() const { return run_; }

private:
    friend class ReportRun;

    void processMessages() const;
    const TextMeasurer& measurer() const;

    std::vector<std::unique_ptr<TRepBand>> bands_;
    std::vector<std::unique_ptr<PrintableText>> controls_;
    UnitContext context_;
    TRepUnits units_ = TRepUnits::MM;
    int zoom_ = 100;
    ReportRun* run_ = nullptr;  // does not take ownership: a run registers itself while it lives
};
