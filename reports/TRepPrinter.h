#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EmfWriter.h"
#include "TRepPageList.h"
#include "TRepPrinterObserver.h"
#include "TRepTypes.h"

enum class TRepOutputBin {
    First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat,
    LargeFormat, LargeCapacity, Cassette, Last
};

// What a report run draws on. In page-store mode every page is a picture at
// the screen's resolution, kept in the page store for the preview, saving and
// printing later. Status: Ready -> Busy (OpenDocument) -> Finished
// (FinishDocument or AbortDocument); loading a file makes it Finished.
class TRepPrinter {
public:
    enum class Status { Ready, Busy, Finished };
    enum class Mode { PageStore, Printer };

    TRepPrinter();
    // A destination still busy is cancelled first; its page store goes with it.
    ~TRepPrinter();
    TRepPrinter(const TRepPrinter&) = delete;
    TRepPrinter& operator=(const TRepPrinter&) = delete;

    // Settings copied from the report before a run.
    int PrinterIndex = -1;
    TRepPaperSize PaperSize = TRepPaperSize::A4;
    TRepOrientation Orientation = TRepOrientation::poPortrait;
    double CustomWidth = 2100;   // tenths of a millimetre, portrait, for Custom paper
    double CustomLength = 2970;
    int Copies = 1;
    TRepOutputBin OutputBin = TRepOutputBin::Auto;
    bool Duplex = false;
    int FirstPage = 0;  // 0: from the first
    int LastPage = 0;   // 0: to the last
    std::string Title;
    bool Compression = false;
    double ScreenPixelsPerInch = 96;
    TRepPrinterObserver* Observer = nullptr;  // does not take ownership

    // Portrait paper width and length in tenths of a millimetre.
    double PaperWidth() const;
    double PaperLength() const;
    // The page as oriented: its picture's width and height.
    double PageWidth() const;
    double PageHeight() const;

    // Raises "Report printer not ready" unless Ready.
    void OpenDocument();
    // Raises "Illegal call to NewPage" unless Busy. Stores the open page, if
    // any, and opens the next one.
    void NewPage();
    void FinishDocument();
    void AbortDocument();
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

    // Where the open page is drawn; nullptr when no page is open.
    PageCanvas* Canvas() { return page_.get(); }
    // Device pixels of a position in tenths of a millimetre from the paper's corner.
    std::int32_t XPos(double x) const;
    std::int32_t YPos(double y) const;
    double XFactor() const { return factor_; }
    double YFactor() const { return factor_; }
    std::int32_t FontPixels(double points) const;

    void setProgress(int percent);
    int Progress() const { return progress_; }

    Status status() const { return status_; }
    Mode mode() const { return Mode::PageStore; }
    int PageCount() const { return pageCount_; }
    int PageNumber() const { return pageNumber_; }
    int AvailablePages() const { return availablePages_; }
    bool ReportLoaded() const { return loaded_; }

    // Page n's picture; nothing when Ready, when n is not 1..PageCount or when
    // page n is not stored yet.
    std::optional<std::vector<std::uint8_t>> GetPage(int n);
    // Only when Finished; otherwise nothing is written.
    void Save(const std::string& fileName);
    // A Ready or Finished destination becomes Finished with the file's pages;
    // the paper is taken from the first page when it matches a known paper.
    void Load(const std::string& fileName);
    // Resets a Finished destination to Ready with an empty store.
    void Clear();
    TRepPageList& PageList() { return pages_; }

private:
    void storeOpenPage();
    void inferPaper();

    Status status_ = Status::Ready;
    bool cancelled_ = false;
    bool loaded_ = false;
    int pageCount_ = 0;
    int pageNumber_ = 0;
    int availablePages_ = 0;
    int progress_ = 0;
    double factor_ = 96.0 / 254.0;
    std::unique_ptr<EmfWriter> page_;
    TRepPageList pages_;
};
