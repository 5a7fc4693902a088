#pragma once
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "TRepTypes.h"
#include "TextLayout.h"

class TBandReport;
class TDataSet;
class TField;
class TRepBand;
class PrintableText;
class TRepPrinter;

// One run of a report onto a destination: where the next band goes, which
// page and column it is on, the page values it works with, the fields its
// data texts read, its functions and its flags. TBandReport::RunReport makes
// one for the length of a run, and a test may make one to drive the steps
// itself. While it lives the report is busy; the run reads the report through
// a const reference and never changes it. Positions are tenths of a
// millimetre from the paper's top-left corner.
class ReportRun {
public:
    // Registers with the report, which is busy until the run ends. Raises
    // std::logic_error when the report is already busy.
    ReportRun(TBandReport& report, TRepPrinter& destination);
    // Marks a document that was opened and never ended as incomplete and
    // makes the report available again. Never raises.
    ~ReportRun();
    ReportRun(const ReportRun&) = delete;
    ReportRun& operator=(const ReportRun&) = delete;

    // The whole run: Begin, then the traversal and End unless vetoed.
    void Execute();
    // Asks the report's BeforePrint, then copies the page and printer
    // settings to the destination (margins that overrun the paper count as
    // zero), opens its document and finds the fields of the data texts.
    // Returns false, with nothing opened, on a veto.
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
    void EmitBand(const TRepBand* band);
    // Stops the run at the next record; End then aborts the document.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

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
    // PAGENUMBER, COLUMNNUMBER, REPORTTITLE and the report's own, as they
    // stand in this run.
    const std::map<std::string, std::string>& Functions() const { return functions_; }
    // The page values this run lays out on: the report's, with margins that
    // overrun the paper set to zero.
    const std::array<double, 7>& PageValues() const { return page_; }

private:
    // A control's font, its line height and the font on the destination.
    struct ControlFonts {
        ReportFont font;
        double lineHeight = 0;
        PageFont device;
    };
    struct Pending {
        const PrintableText* control;
        std::vector<std::u16string> lines;
    };

    static std::array<double, 7> pageWithinPaper(const std::array<double, 7>& values);
    void findControls();
    static std::string displayText(const TField* field);
    void copySettings();
    void measurePageFooter();
    bool cancelled() const;
    void traverseMoving(TDataSet& data);
    void traverseRecords(const std::function<bool()>& printRecord, int count);
    static int recordCount(TDataSet& data);
    void printEmptyForm();
    static bool isPageBand(const TRepBand& band, bool asPageFooter);
    void emitBand(const TRepBand* band, bool asPageFooter);
    void alignToBottom(const TRepBand& band);
    void placeBand(const TRepBand& band, bool asPageFooter, double stretch);
    struct ControlState;
    // A control's lines for the current record and its fonts.
    struct Laid {
        const TextLayout* layout;
        const ControlFonts* fonts;
    };
    // The lines and fonts of a band's controls that are not the report's.
    struct BandScratch {
        std::vector<std::unique_ptr<TextLayout>> layouts;
        std::vector<std::unique_ptr<ControlFonts>> fonts;
    };
    std::vector<Laid> layoutBand(const TRepBand& band, BandScratch& scratch);
    const TextLayout& layoutControl(const PrintableText& control, TextLayout& scratch);
    const TextLayout* layoutOfRun(const PrintableText& control);
    const TextLayout& layoutOfRun(const PrintableText& control, ControlState& state);
    void layOut(const PrintableText& control, const ControlFonts& fonts, const std::string& text, TextLayout& into);
    double stretchOf(const TRepBand& band, const std::vector<Laid>& layouts) const;
    double drawBand(const TRepBand& band, std::vector<Pending>& pending, const std::vector<Laid>* layouts);
    double pageHeightOnPaper() const;
    double printControl(const PrintableText& control, double x, double y, Pending* pending, const Laid* laid = nullptr);
    double printLaid(const PrintableText& control, double x, double y, Pending* pending, const TextLayout& layout,
                     const ControlFonts& fonts);
    void continuePending(std::vector<Pending>& pending);
    void drawFrame(const TRepFrame& frame, double left, double top, double right, double bottom);
    ReportFont controlFont(const PrintableText& control) const;
    ControlFonts fontsFor(const PrintableText& control) const;
    // The fonts of a control of the report, found when the run began;
    // another's are made into scratch.
    const ControlFonts& fontsOf(const PrintableText& control, ControlFonts& scratch) const;
    const std::vector<std::int32_t>& placedAdvances(const TextLayout& layout, size_t line, double x) const;

    const TBandReport& report_;
    ReportRun*& registration_;  // the report's slot for its run in progress
    TRepPrinter& destination_;
    std::array<double, 7> page_{};
    std::map<std::string, std::string> functions_;
    // What the run keeps of each control of the report: the field a data
    // text reads (nullptr for a field not found) and the control's texts
    // laid out, per distinct text. Most columns repeat a few code-table
    // texts; a column whose texts hardly repeat (numbers, names) stops
    // keeping them once the first thousand or so show it, and lays each
    // record's text out in one scratch layout.
    struct ControlState {
        ControlFonts fonts;
        bool dataText = false;
        TField* field = nullptr;
        bool keep = true;
        size_t hits = 0;
        std::unordered_map<std::string, TextLayout> layouts;
        TextLayout scratch;
    };
    static constexpr size_t LayoutsKept = 1024;
    std::unordered_map<const PrintableText*, ControlState> controls_;
    bool cancelled_ = false;
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
    PageText text_;
    std::u16string wide_;  // the text being laid out
};
