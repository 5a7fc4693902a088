#include "TRepPrinter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "EReportError.h"
#include "EmfPlayer.h"
#include "TRepPage.h"

TRepPrinter::TRepPrinter(Mode mode) : mode_(mode)
{
}

TRepPrinter::~TRepPrinter()
{
    if (status_ == Status::Busy)
        cancelled_ = true;
    if (device_ && device_->JobOpen())
        device_->AbortJob();
}

double TRepPrinter::PaperWidth() const
{
    double w, l;
    return TRepPage::paperDimensions(PaperSize, w, l) ? w * 10 : CustomWidth;
}

double TRepPrinter::PaperLength() const
{
    double w, l;
    return TRepPage::paperDimensions(PaperSize, w, l) ? l * 10 : CustomLength;
}

double TRepPrinter::PageWidth() const
{
    return Orientation == TRepOrientation::poLandscape ? PaperLength() : PaperWidth();
}

double TRepPrinter::PageHeight() const
{
    return Orientation == TRepOrientation::poLandscape ? PaperWidth() : PaperLength();
}

bool TRepPrinter::InPrintRange(int n) const
{
    return (FirstPage <= 0 || n >= FirstPage) && (LastPage <= 0 || n <= LastPage);
}

void TRepPrinter::ApplySettings(DeviceDescription& d) const
{
    using D = DeviceDescription;
    if (PaperSize == TRepPaperSize::Custom) {
        if (d.supports(D::FieldPaperLength))
            d.PaperLength = static_cast<int>(std::lround(CustomLength));
        if (d.supports(D::FieldPaperWidth))
            d.PaperWidth = static_cast<int>(std::lround(CustomWidth));
    }
    if (Duplex && d.supports(D::FieldDuplex))
        d.Duplex = D::HorizontalDuplex;
    if (PaperSize != TRepPaperSize::Default && d.supports(D::FieldPaperSize))
        d.PaperSize = PaperSize == TRepPaperSize::Custom ? D::UserPaper : static_cast<int>(PaperSize);
    if (d.supports(D::FieldCopies))
        d.Copies = Copies;
    if (d.supports(D::FieldDefaultSource))
        d.DefaultSource = (d.DefaultSource & ~D::SourceMask) | D::sourceOf(OutputBin);
    if (d.supports(D::FieldOrientation))
        d.Orientation = Orientation == TRepOrientation::poLandscape ? D::Landscape : D::Portrait;
}

void TRepPrinter::OpenDocument()
{
    availablePages_ = 0;
    cancelled_ = false;
    incomplete_ = false;
    if (mode_ == Mode::Printer && status_ == Status::Ready) {
        if (!PrinterPresent())
            throw EReportError("Report printer not ready");
        device_ = Printers->Open(PrinterIndex);
        DeviceDescription description = device_->Description();
        ApplySettings(description);
        device_->SetDescription(description);
        const PagePoint offset = device_->PrintableOffset();
        leftWaste_ = std::round(offset.x / device_->PixelsPerInchX() * 254);
        topWaste_ = std::round(offset.y / device_->PixelsPerInchY() * 254);
    }
    if (status_ != Status::Ready)
        throw EReportError("Report printer not ready");
    pageNumber_ = 0;
    pageCount_ = 0;
    progress_ = 0;
    status_ = Status::Busy;
    if (mode_ == Mode::PageStore) {
        pages_.open(TRepPageList::PreviewMemoryLimit);
        pages_.setCompression(Compression);
        pages_.setTitle(Title);
        xFactor_ = yFactor_ = ScreenPixelsPerInch / 254.0;
    } else {
        xFactor_ = device_->PixelsPerInchX() / 254.0;
        yFactor_ = device_->PixelsPerInchY() / 254.0;
    }
}

void TRepPrinter::storeOpenPage()
{
    canvas_ = nullptr;
    if (!page_)
        return;
    std::vector<std::uint8_t> picture = page_->finish();
    page_.reset();
    pages_.addPage(picture);
    spare_ = std::move(picture);
}

// A page of the range ends on its sheet; the printer moves on to a new sheet
// unless the range ends here. Pages outside the range were drawn on a
// scratch picture, which goes.
void TRepPrinter::closePrinterPage()
{
    canvas_ = nullptr;
    if (page_) {
        page_.reset();
        return;
    }
    if (pageCount_ != LastPage && device_->JobOpen())
        device_->NewSheet();
}

void TRepPrinter::openPrinterPage()
{
    if (!InPrintRange(pageCount_)) {
        page_ = std::make_unique<EmfWriter>(PageWidth(), PageHeight(), device_->PixelsPerInchX());
        canvas_ = page_.get();
        return;
    }
    if (!device_->JobOpen()) {
        device_->SetTitle(Title);
        device_->BeginJob();
    }
    canvas_ = &device_->Canvas();
}

void TRepPrinter::notifyPageAvailable()
{
    ++availablePages_;
    if (Observer)
        Observer->PageAvailable(availablePages_);
}

void TRepPrinter::NewPage()
{
    if (status_ != Status::Busy)
        throw EReportError("Illegal call to NewPage");
    if (canvas_) {
        if (mode_ == Mode::PageStore)
            storeOpenPage();
        else
            closePrinterPage();
        notifyPageAvailable();
    }
    ++pageCount_;
    ++pageNumber_;
    if (mode_ == Mode::PageStore) {
        page_ = std::make_unique<EmfWriter>(PageWidth(), PageHeight(), ScreenPixelsPerInch, std::move(spare_));
        canvas_ = page_.get();
    } else {
        openPrinterPage();
    }
}

void TRepPrinter::FinishDocument()
{
    if (status_ != Status::Busy)
        return;
    // The header is final before anyone can see the destination finished: a
    // Save handled among the pending messages writes the whole file.
    if (mode_ == Mode::PageStore) {
        storeOpenPage();
        pages_.finish();
    } else {
        canvas_ = nullptr;
        page_.reset();
        if (device_->JobOpen())
            device_->EndJob();
    }
    status_ = Status::Finished;
    processMessages();
    notifyPageAvailable();
    if (mode_ == Mode::Printer && AfterPrint)
        AfterPrint();
}

void TRepPrinter::AbortDocument()
{
    if (mode_ == Mode::PageStore) {
        storeOpenPage();
        // the pages kept make a whole file, should they be saved
        pages_.finish();
    } else {
        canvas_ = nullptr;
        page_.reset();
        if (device_ && device_->JobOpen())
            device_->AbortJob();
    }
    status_ = Status::Finished;
}

void TRepPrinter::FailDocument()
{
    incomplete_ = true;
    try {
        AbortDocument();
    } catch (...) {
        // The open page could not be stored either; the caller goes on
        // with the error that ended the run.
        status_ = Status::Finished;
    }
    // Even when no page could be stored, the preview learns the run is over.
    if (Observer)
        Observer->PageAvailable(availablePages_);
}

std::int32_t TRepPrinter::FontPixels(double points) const
{
    return static_cast<std::int32_t>(std::lround(points * yFactor_ * 254.0 / 72.0));
}

void TRepPrinter::setProgress(int percent)
{
    progress_ = percent;
    if (Observer)
        Observer->Progress(percent);
}

std::optional<std::vector<std::uint8_t>> TRepPrinter::GetPage(int n)
{
    if (status_ == Status::Ready || n < 1 || n > pageCount_ || n > pages_.PageCount())
        return std::nullopt;
    return pages_.getPage(n);
}

void TRepPrinter::Save(const std::string& fileName)
{
    if (status_ == Status::Finished)
        pages_.saveToFile(fileName);
}

void TRepPrinter::Load(const std::string& fileName)
{
    if (status_ == Status::Busy)
        throw EReportError("Report printer not ready");
    // Checked whole in a store of its own; the pages shown so far go only
    // when the file has proved readable.
    TRepPageList loaded;
    loaded.loadFromFile(fileName);
    const std::optional<EmfPictureInfo> first = firstPageInfo(loaded);
    pages_.swap(loaded);
    pageCount_ = pages_.PageCount();
    pageNumber_ = pageCount_;
    availablePages_ = pageCount_;
    status_ = Status::Finished;
    loaded_ = true;
    // Its own report's name, or the file's; its pages, all of them at first.
    Title = pages_.title().empty() ? std::filesystem::path(fileName).stem().string() : pages_.title();
    FirstPage = LastPage = 0;
    OnExport = nullptr;
    xFactor_ = yFactor_ = ScreenPixelsPerInch / 254.0;
    if (first)
        inferPaper(*first);
}

// Raises EReportError when page 1 is not a picture.
std::optional<EmfPictureInfo> TRepPrinter::firstPageInfo(TRepPageList& pages)
{
    if (pages.PageCount() < 1)
        return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> first = pages.getPage(1);
    if (!first)
        return std::nullopt;
    return EmfPlayer::info(*first);
}

void TRepPrinter::Clear()
{
    if (status_ == Status::Busy)
        return;
    pages_.open(TRepPageList::PreviewMemoryLimit);
    pageCount_ = pageNumber_ = availablePages_ = 0;
    status_ = Status::Ready;
    loaded_ = false;
}

void TRepPrinter::Print()
{
    if (loaded_)
        PrintStoredPages();
    else if (Master)
        Master->PrintRequested(*this);
}

void TRepPrinter::PrintStoredPages()
{
    if (status_ != Status::Finished || !PrinterPresent())
        return;
    // a range set for a longer report ends at this one's last page
    const int first = FirstPage > 0 ? FirstPage : 1;
    const int last = LastPage > 0 ? std::min(LastPage, pageCount_) : pageCount_;
    if (first > last)
        return;
    cancelled_ = false;
    std::unique_ptr<PrintDevice> device = Printers->Open(PrinterIndex);
    device->SetTitle(Title);
    if (device->JobOpen())
        device->AbortJob();
    DeviceDescription description = device->Description();
    ApplySettings(description);
    device->SetDescription(description);
    device->BeginJob();
    for (int n = first; n <= last; ++n) {
        processMessages();
        if (const std::optional<std::vector<std::uint8_t>> picture = GetPage(n))
            device->DrawPicture(*picture);
        if (n != last)
            device->NewSheet();
        if (cancelled_) {
            device->AbortJob();
            break;
        }
    }
    if (device->JobOpen())
        device->EndJob();
}

void TRepPrinter::ClosePreview()
{
    if (Master) {
        Master->PreviewClosed(*this);
        return;
    }
    if (status_ == Status::Busy)
        cancelled_ = true;
    showingPreview_ = false;
    if (AfterPreview)
        AfterPreview();
}

void TRepPrinter::processMessages()
{
    if (ProcessMessages)
        ProcessMessages();
}

// Matches page 1's size in 4 mm steps against the paper table; a later match
// wins, and with none the paper stays as it is.
void TRepPrinter::inferPaper(const EmfPictureInfo& info)
{
    const auto w = static_cast<long>(info.widthPixels() / xFactor_ / 40);
    const auto h = static_cast<long>(info.heightPixels() / yFactor_ / 40);
    for (int n = 1; n <= 26; ++n) {
        double pw, pl;
        TRepPage::paperDimensions(static_cast<TRepPaperSize>(n), pw, pl);
        const auto qw = static_cast<long>(pw / 4), ql = static_cast<long>(pl / 4);
        if (qw == w && ql == h) {
            PaperSize = static_cast<TRepPaperSize>(n);
            Orientation = TRepOrientation::poPortrait;
        } else if (qw == h && ql == w) {
            PaperSize = static_cast<TRepPaperSize>(n);
            Orientation = TRepOrientation::poLandscape;
        }
    }
}
