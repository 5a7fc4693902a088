#pragma once
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DeviceDescription.h"
#include "EmfPlayer.h"
#include "EmfWriter.h"
#include "PrinterMaster.h"
#include "PrinterObserver.h"
#include "PrinterSystem.h"
#include "TRepPageList.h"
#include "TRepTypes.h"

// What a report run draws on. In page-store mode every page is a picture at
// the screen's resolution, kept in the page store for the preview, saving and
// printing later; in printer mode the pages of the print range go straight to
// a printer and the others onto scratch pictures that are thrown away.
// Status: Ready -> Busy (OpenDocument) -> Finished (FinishDocument or
// AbortDocument); loading a file makes it Finished.
class TRepPrinter {
public:
    enum class Status { Ready, Busy, Finished };
    enum class Mode { PageStore, Printer };

    explicit TRepPrinter(Mode mode = Mode::PageStore);
    // A destination still busy is cancelled first and its print job dropped;
    // its page store goes with it.
    ~TRepPrinter();
    TRepPrinter(const TRepPrinter&) = delete;
    TRepPrinter& operator=(const TRepPrinter&) = delete;

    // Settings copied from the report before a run.
    int PrinterIndex = -1;
    TRepPaperSize PaperSize = TRepPaperSize::A4;
    TRepOrientation Orientation = TRepOrientation::poPortrait;
    double CustomWidth = 2100;  // tenths of a millimetre, portrait, for Custom paper
    double CustomLength = 2970;
    int Copies = 1;
    TRepOutputBin OutputBin = TRepOutputBin::Auto;
    bool Duplex = false;
    int FirstPage = 0;  // 0: from the first
    int LastPage = 0;   // 0: to the last
    std::string Title;
    bool Compression = false;
    double ScreenPixelsPerInch = 96;

    PrinterObserver* Observer = nullptr;  // does not take ownership
    PrinterSystem* Printers = nullptr;    // does not take ownership
    PrinterMaster* Master = nullptr;      // does not take ownership
    std::function<void()> OnPrintSetup;
    std::function<void()> OnExport;
    std::function<void()> AfterPreview;
    std::function<void()> AfterPrint;
    // Lets the window system handle pending messages.
    std::function<void()> ProcessMessages;

    Mode mode() const { return mode_; }

    // Portrait paper width and length in tenths of a millimetre.
    double PaperWidth() const;
    double PaperLength() const;
    // The page as oriented: its picture's width and height.
    double PageWidth() const;
    double PageHeight() const;

    // Raises "Report printer not ready" unless Ready. In printer mode the
    // settings go to the printer's device description first.
    void OpenDocument();
    // Raises "Illegal call to NewPage" unless Busy. Closes the open page, if
    // any, and opens the next one.
    void NewPage();
    void FinishDocument();
    void AbortDocument();
    // The run failed: the pages so far stay, and the document is marked
    // incomplete until the next run opens it. Never raises.
    void FailDocument();
    bool Incomplete() const { return incomplete_; }
    void Cancel() { cancelled_ = true; }
    // Before a task on finished pages (an export) that Cancel may stop.
    void clearCancelled() { cancelled_ = false; }
    bool Cancelled() const { return cancelled_; }

    // Whether page n (counted from 1) is among the pages to print.
    bool InPrintRange(int n) const;
    // Writes the settings into a device description as the driver takes them.
    void ApplySettings(DeviceDescription& description) const;

    // Where the open page is drawn; nullptr when no page is open.
    PageCanvas* Canvas() { return canvas_; }
    // Device pixels of a position in tenths of a millimetre from the paper's corner.
    std::int32_t XPos(double x) const { return rounded((x - leftWaste_) * xFactor_); }
    std::int32_t YPos(double y) const { return rounded((y - topWaste_) * yFactor_); }
    double XFactor() const { return xFactor_; }
    double YFactor() const { return yFactor_; }
    // The printer's unprintable margins in tenths of a millimetre; 0 in page-store mode.
    double LeftWaste() const { return leftWaste_; }
    double TopWaste() const { return topWaste_; }
    std::int32_t FontPixels(double points) const;

    void setProgress(int percent);
    int Progress() const { return progress_; }

    Status status() const { return status_; }
    int PageCount() const { return pageCount_; }
    int PageNumber() const { return pageNumber_; }
    int AvailablePages() const { return availablePages_; }
    bool ReportLoaded() const { return loaded_; }
    bool PrinterPresent() const { return Printers && Printers->PrinterCount() > 0; }
    bool ShowingPreview() const { return showingPreview_; }
    void setShowingPreview(bool on) { showingPreview_ = on; }

    // Page n's picture; nothing when Ready, when n is not 1..PageCount or when
    // page n is not stored yet.
    std::optional<std::vector<std::uint8_t>> GetPage(int n);
    // Only when Finished; otherwise nothing is written.
    void Save(const std::string& fileName);
    // A Ready or Finished destination becomes Finished with the file's pages;
    // a damaged file is refused whole (EReportError) and nothing changes.
    // The paper is taken from the first page when it matches a known paper,
    // the title from the file (or its name), and the print range is all of
    // its pages. The export callback is cleared: no report is behind the
    // pages any more; print setup goes on, on the destination's settings.
    void Load(const std::string& fileName);
    // Resets a Finished destination to Ready with an empty store.
    void Clear();
    TRepPageList& PageList() { return pages_; }

    // The preview's Print: a loaded file prints its stored pages; pages of a
    // run ask the master to run the report again to the printer.
    void Print();
    // Prints the stored pages of a finished destination, FirstPage to
    // LastPage, each stretched over a sheet. Nothing without a printer.
    void PrintStoredPages();
    // The preview on this destination closes: tells the master, or with no
    // master stops showing the preview.
    void ClosePreview();

private:
    // As std::lround, without a call for every character placed: the part
    // after the point is exact, so halves go away from zero as there.
    static std::int32_t rounded(double v)
    {
        if (!(std::fabs(v) < 1e9))
            return static_cast<std::int32_t>(std::lround(v));
        const auto whole = static_cast<std::int64_t>(v);
        const double rest = v - static_cast<double>(whole);
        return static_cast<std::int32_t>(whole + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0));
    }
    void storeOpenPage();
    void closePrinterPage();
    void openPrinterPage();
    void inferPaper(const EmfPictureInfo& info);
    static std::optional<EmfPictureInfo> firstPageInfo(TRepPageList& pages);
    void processMessages();
    void notifyPageAvailable();

    Mode mode_;
    Status status_ = Status::Ready;
    bool cancelled_ = false;
    bool loaded_ = false;
    bool incomplete_ = false;
    bool showingPreview_ = false;
    int pageCount_ = 0;
    int pageNumber_ = 0;
    int availablePages_ = 0;
    int progress_ = 0;
    double xFactor_ = 96.0 / 254.0;
    double yFactor_ = 96.0 / 254.0;
    double leftWaste_ = 0;
    double topWaste_ = 0;
    PageCanvas* canvas_ = nullptr;
    std::unique_ptr<EmfWriter> page_;  // page store: the open page; printer: a scratch page
    std::vector<std::uint8_t> spare_;  // the last stored picture's bytes, room for the next
    std::unique_ptr<PrintDevice> device_;
    TRepPageList pages_;
};
