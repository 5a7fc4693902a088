#include "TRepPrinter.h"

#include <cmath>

#include "EReportError.h"
#include "EmfPlayer.h"
#include "TRepPage.h"

TRepPrinter::TRepPrinter() = default;

TRepPrinter::~TRepPrinter()
{
    if (status_ == Status::Busy)
        cancelled_ = true;
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

void TRepPrinter::OpenDocument()
{
    availablePages_ = 0;
    cancelled_ = false;
    if (status_ != Status::Ready)
        throw EReportError("Report printer not ready");
    pageNumber_ = 0;
    pageCount_ = 0;
    progress_ = 0;
    status_ = Status::Busy;
    pages_.open(TRepPageList::PreviewMemoryLimit);
    pages_.setCompression(Compression);
    factor_ = ScreenPixelsPerInch / 254.0;
}

void TRepPrinter::storeOpenPage()
{
    if (!page_)
        return;
    const std::vector<std::uint8_t> picture = page_->finish();
    page_.reset();
    pages_.addPage(picture);
}

void TRepPrinter::NewPage()
{
    if (status_ != Status::Busy)
        throw EReportError("Illegal call to NewPage");
    if (page_) {
        storeOpenPage();
        ++availablePages_;
        if (Observer)
            Observer->PageAvailable(availablePages_);
    }
    ++pageCount_;
    ++pageNumber_;
    page_ = std::make_unique<EmfWriter>(PageWidth(), PageHeight(), ScreenPixelsPerInch);
}

void TRepPrinter::FinishDocument()
{
    if (status_ != Status::Busy)
        return;
    storeOpenPage();
    status_ = Status::Finished;
    ++availablePages_;
    if (Observer)
        Observer->PageAvailable(availablePages_);
    pages_.finish();
}

void TRepPrinter::AbortDocument()
{
    storeOpenPage();
    status_ = Status::Finished;
}

std::int32_t TRepPrinter::XPos(double x) const
{
    return static_cast<std::int32_t>(std::lround(x * factor_));
}

std::int32_t TRepPrinter::YPos(double y) const
{
    return static_cast<std::int32_t>(std::lround(y * factor_));
}

std::int32_t TRepPrinter::FontPixels(double points) const
{
    return static_cast<std::int32_t>(std::lround(points * factor_ * 254.0 / 72.0));
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
    pages_.loadFromFile(fileName);
    pageCount_ = pages_.PageCount();
    pageNumber_ = pageCount_;
    availablePages_ = pageCount_;
    status_ = Status::Finished;
    loaded_ = true;
    factor_ = ScreenPixelsPerInch / 254.0;
    inferPaper();
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

// Matches page 1's size in 4 mm steps against the paper table; a later match
// wins, and with none the paper stays as it is.
void TRepPrinter::inferPaper()
{
    if (pageCount_ < 1)
        return;
    const std::optional<std::vector<std::uint8_t>> first = pages_.getPage(1);
    if (!first)
        return;
    const EmfPictureInfo info = EmfPlayer::info(*first);
    const auto w = static_cast<long>(info.widthPixels() / factor_ / 40);
    const auto h = static_cast<long>(info.heightPixels() / factor_ / 40);
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
