#include "QtPrintDevice.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <cmath>

#include "EReportError.h"
#include "PagePainter.h"

QtPrintDevice::QtPrintDevice(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer))
{
    // Positions are measured from the printable area's corner, as the
    // engine's unprintable margins expect.
    printer_->setFullPage(false);
}

QtPrintDevice::~QtPrintDevice()
{
    if (JobOpen())
        AbortJob();
}

QPrinter::PaperSource QtPrintDevice::paperSourceOf(int source)
{
    const int code = source & DeviceDescription::SourceMask;
    if (code >= 1 && code <= 11)
        return static_cast<QPrinter::PaperSource>(code - 1);  // Upper .. LargeCapacity
    if (code == 14)
        return QPrinter::Cassette;
    if (code == 15)
        return QPrinter::FormSource;
    return QPrinter::Auto;
}

int QtPrintDevice::sourceNumberOf(QPrinter::PaperSource source)
{
    if (source <= QPrinter::LargeCapacity)
        return static_cast<int>(source) + 1;
    if (source == QPrinter::Cassette)
        return 14;
    if (source == QPrinter::FormSource)
        return 15;
    return 7;
}

DeviceDescription QtPrintDevice::Description() const
{
    DeviceDescription d;
    const QPageLayout layout = printer_->pageLayout();
    const int number = QPageSize::windowsId(layout.pageSize().id());
    const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
    d.PaperSize = number > 0 && number <= 26 ? number : DeviceDescription::UserPaper;
    d.PaperWidth = static_cast<int>(std::lround(mm.width() * 10));
    d.PaperLength = static_cast<int>(std::lround(mm.height() * 10));
    d.Orientation =
        layout.orientation() == QPageLayout::Landscape ? DeviceDescription::Landscape : DeviceDescription::Portrait;
    d.Copies = printer_->copyCount();
    d.DefaultSource = sourceNumberOf(printer_->paperSource());
    d.Duplex = duplexCodeOf(printer_->duplex());
    return d;
}

void QtPrintDevice::SetDescription(const DeviceDescription& d)
{
    QPageSize size;
    if (d.PaperSize == DeviceDescription::UserPaper)
        size = QPageSize(QSizeF(d.PaperWidth / 10.0, d.PaperLength / 10.0), QPageSize::Millimeter);
    else
        size = QPageSize(QPageSize::id(d.PaperSize));
    if (size.isValid())
        printer_->setPageSize(size);
    printer_->setPageOrientation(d.Orientation == DeviceDescription::Landscape ? QPageLayout::Landscape
                                                                               : QPageLayout::Portrait);
    printer_->setCopyCount(std::max(d.Copies, 1));
    printer_->setPaperSource(paperSourceOf(d.DefaultSource));
    printer_->setDuplex(duplexModeOf(d.Duplex));
}

QPrinter::DuplexMode QtPrintDevice::duplexModeOf(int duplex)
{
    switch (duplex) {
    case DeviceDescription::VerticalDuplex:
        return QPrinter::DuplexLongSide;
    case DeviceDescription::HorizontalDuplex:
        return QPrinter::DuplexShortSide;
    default:
        return QPrinter::DuplexNone;
    }
}

int QtPrintDevice::duplexCodeOf(QPrinter::DuplexMode mode)
{
    switch (mode) {
    case QPrinter::DuplexLongSide:
        return DeviceDescription::VerticalDuplex;
    case QPrinter::DuplexShortSide:
        return DeviceDescription::HorizontalDuplex;
    default:
        return DeviceDescription::Simplex;
    }
}

double QtPrintDevice::PixelsPerInchX() const
{
    return printer_->logicalDpiX();
}

double QtPrintDevice::PixelsPerInchY() const
{
    return printer_->logicalDpiY();
}

PagePoint QtPrintDevice::PrintableOffset() const
{
    const QRectF paper = printer_->paperRect(QPrinter::DevicePixel);
    const QRectF page = printer_->pageRect(QPrinter::DevicePixel);
    return {static_cast<std::int32_t>(std::lround(page.left() - paper.left())),
            static_cast<std::int32_t>(std::lround(page.top() - paper.top()))};
}

void QtPrintDevice::SetTitle(const std::string& title)
{
    printer_->setDocName(QString::fromStdString(title));
}

void QtPrintDevice::BeginJob()
{
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer_.get()))
        throw EReportError("The printer cannot start the print job");
    painter_ = std::move(painter);
    canvas_ = std::make_unique<QtPageCanvas>(*painter_);
    sheets_ = 1;
}

PageCanvas& QtPrintDevice::Canvas()
{
    if (!canvas_)
        throw EReportError("Printer is not currently printing");
    return *canvas_;
}

// Each sheet is a page of its own to the canvas: what it gathered goes out
// on its sheet.
void QtPrintDevice::NewSheet()
{
    if (!painter_)
        return;
    canvas_->finish();
    printer_->newPage();
    canvas_ = std::make_unique<QtPageCanvas>(*painter_);
    ++sheets_;
}

void QtPrintDevice::EndJob()
{
    if (canvas_)
        canvas_->finish();
    canvas_.reset();
    if (painter_)
        painter_->end();
    painter_.reset();
}

// Qt's print engines built on PDF cannot take back a job once begun: there
// the pages drawn so far still go out, except to a file, which is removed.
void QtPrintDevice::AbortJob()
{
    if (!painter_)
        return;
    canvas_->finish();
    const bool aborted = printer_->abort();
    canvas_.reset();
    painter_->end();
    painter_.reset();
    if (!aborted && printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty())
        QFile::remove(printer_->outputFileName());
}

void QtPrintDevice::DrawPicture(std::span<const std::uint8_t> picture)
{
    if (!painter_)
        return;
    const QRectF area = printer_->pageRect(QPrinter::DevicePixel);
    PagePainter::paint(*painter_, picture, QRectF(QPointF(0, 0), area.size()));
}
