#pragma once
#include <functional>
#include <string>
#include <vector>

#include "TRepTypes.h"
#include "TextLayout.h"

class TBandReport;
class TDataSet;
class TRepBand;
class TRepPrintable;
class TRepPrinter;

// One run of a report onto a destination: where the next band goes, which
// page and column it is on, and the run's flags. TBandReport::RunReport makes
// one for the length of a run, and a test may make one to drive the steps
// itself. While it lives the report is busy and reads its lengths in tenths
// of a millimetre; its destructor gives the report back as it was, however
// the run ended. Positions are tenths of a millimetre from the paper's
// top-left corner.
class ReportRun {
public:
    // Marks the report busy and clears its cancelled flag. Raises
    // std::logic_error when the report is already busy.
    ReportRun(TBandReport& report, TRepPrinter& destination);
    // Restores the report's units, releases its controls, marks a document
    // that was opened and never ended as incomplete, and makes the report
    // available again. Never raises.
    ~ReportRun();
    ReportRun(const ReportRun&) = delete;
    ReportRun& operator=(const ReportRun&) = delete;

    // The whole run: Begin, then the traversal and End unless vetoed.
    void Execute();
    // Sets margins that overrun the paper to zero, asks the report's
    // BeforePrint, then switches the report to native units, copies the page
    // and printer settings to the destination, opens its document and
    // prepares the controls. Returns false, with nothing opened, on a veto.
    bool Begin();
    // Title, column header, a detail band per record of the report's
    // dataset, summary; the empty form when there is no record.
    void Traverse();
    // Closes the last page and finishes the document, or aborts it when the
    // run was cancelled.
    void End();

    // Room between the current position and the page footer; 0 while no
    // page is open.
    double SpaceLeft() const;
    // The next column, or column 1 of a new page after the last column.
    void AdvanceColumn();
    // Closes the open page, if any, and opens the next one.
    void OpenPage();
    // Prints the page footer, the report's own controls and its frame.
    void ClosePage();
    // Prints a band (and its child) at the current position; nullptr is
    // ignored.
    void EmitBand(TRepBand* band);

    TRepPrinter& destination() const { return destination_; }
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }
    int CurrentColumn() const { return column_; }
    int PageCount() const { return pageCount_; }
    double ColumnTop() const { return columnTop_; }
    double PageFooterHeight() const { return pageFooterHeight_; }
    bool LastPage() const { return lastPage_; }
    // Off, fills and frames are left out and only texts are drawn.
    bool FinalPass() const { return finalPass_; }
    void setFinalPass(bool on) { finalPass_ = on; }

private:
    struct Pending {
        TRepPrintable* control;
        std::vector<std::u16string> lines;
    };

    void clearOverrunMargins();
    void copySettings();
    void measurePageFooter();
    bool cancelled() const;
    void traverseMoving(TDataSet& data);
    void traverseRecords(const std::function<bool()>& printRecord, int count);
    static int recordCount(TDataSet& data);
    void printEmptyForm();
    static bool isPageBand(const TRepBand& band, bool asPageFooter);
    void emitBand(TRepBand* band, bool asPageFooter);
    void alignToBottom(const TRepBand& band);
    void placeBand(const TRepBand& band, bool asPageFooter, double stretch);
    std::vector<TextLayout> layoutBand(const TRepBand& band) const;
    TextLayout layoutControl(const TRepPrintable& control) const;
    double stretchOf(const TRepBand& band, const std::vector<TextLayout>& layouts) const;
    double drawBand(const TRepBand& band, std::vector<Pending>& pending, const std::vector<TextLayout>* layouts);
    double pageHeightOnPaper() const;
    double printControl(TRepPrintable& control, double x, double y, Pending* pending,
                        const TextLayout* laidOut = nullptr);
    void continuePending(std::vector<Pending>& pending);
    void drawFrame(const TRepFrame& frame, double left, double top, double right, double bottom);
    ReportFont controlFont(const TRepPrintable& control) const;

    TBandReport& report_;
    TRepPrinter& destination_;
    TRepUnits savedUnits_;
    bool nativeUnits_ = false;
    bool prepared_ = false;
    bool documentOpen_ = false;
    bool documentEnded_ = false;

    double currentX_ = 0;
    double currentY_ = -1;
    int column_ = 1;
    int pageCount_ = 0;
    double columnTop_ = 0;
    double pageFooterHeight_ = 0;
    bool lastPage_ = false;
    bool finalPass_ = true;
    // the first forced page after the title is not taken
    bool skipForcedPage_ = false;
    // Page header and footer print on every page, so their texts cannot go
    // on to the next one: they grow in place.
    bool printingPageBands_ = false;
};
