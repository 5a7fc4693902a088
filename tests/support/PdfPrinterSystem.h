#pragma once
// Printers for tests: each job is printed by Qt's printing into a PDF file
// (job-1.pdf, job-2.pdf, ... in a folder), and what the printer was told is
// recorded. pdfPages() and renderPdf() read the files back with poppler-utils.
#include "PrinterSystem.h"
#include "QtPrintDevice.h"

#include <QDir>
#include <QImage>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

struct PrintJobRecord {
    QString file;
    QString title;
    int copies = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPageSize::PageSizeId paper = QPageSize::Custom;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QPrinter::PaperSource source = QPrinter::Auto;
    QRectF printable;  // inches from the sheet's corner
    int sheets = 0;
    bool begun = false, ended = false, aborted = false;
};

class PdfPrinterSystem : public PrinterSystem {
public:
    explicit PdfPrinterSystem(QString folder, int printers = 1) : folder_(std::move(folder)), printers_(printers) {}

    int PrinterCount() const override { return printers_; }
    std::unique_ptr<PrintDevice> Open(int index) override
    {
        opened.push_back(index);
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        const QString file = QDir(folder_).filePath(QStringLiteral("job-%1.pdf").arg(jobs.size() + 1));
        printer->setOutputFileName(file);
        // unprintable margins, as a real printer has
        printer->setPageMargins(QMarginsF(6, 9, 4, 5), QPageLayout::Millimeter);
        jobs.push_back({});
        jobs.back().file = file;
        return std::make_unique<Device>(std::move(printer), jobs, jobs.size() - 1);
    }

    std::vector<PrintJobRecord> jobs;
    std::vector<int> opened;

private:
    class Device : public QtPrintDevice {
    public:
        Device(std::unique_ptr<QPrinter> printer, std::vector<PrintJobRecord>& jobs, size_t index)
            : QtPrintDevice(std::move(printer)), jobs_(jobs), index_(index)
        {
        }
        void BeginJob() override
        {
            QtPrintDevice::BeginJob();
            PrintJobRecord& r = jobs_[index_];
            r.begun = true;
            r.title = printer().docName();
            r.copies = printer().copyCount();
            r.orientation = printer().pageLayout().orientation();
            r.paper = printer().pageLayout().pageSize().id();
            r.duplex = printer().duplex();
            r.source = printer().paperSource();
            r.printable = printer().pageLayout().paintRect(QPageLayout::Inch);
        }
        void EndJob() override
        {
            jobs_[index_].sheets = sheets();
            jobs_[index_].ended = true;
            QtPrintDevice::EndJob();
        }
        void AbortJob() override
        {
            jobs_[index_].sheets = sheets();
            jobs_[index_].aborted = true;
            QtPrintDevice::AbortJob();
        }

    private:
        std::vector<PrintJobRecord>& jobs_;
        size_t index_;
    };

    QString folder_;
    int printers_;
};

// "Pages:" and "Page size:" of pdfinfo; pages -1 when the file cannot be read.
struct PdfInfo {
    int pages = -1;
    double widthPt = 0, heightPt = 0;
};

inline PdfInfo pdfInfo(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file});
    p.waitForFinished(30000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    PdfInfo info;
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    if (p.exitCode() == 0 && pages.hasMatch())
        info.pages = pages.captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(out);
    if (size.hasMatch()) {
        info.widthPt = size.captured(1).toDouble();
        info.heightPt = size.captured(2).toDouble();
    }
    return info;
}

// Page `page` of the PDF at `dpi`, in grey; a null image when it cannot be had.
inline QImage renderPdf(const QString& file, int page, int dpi)
{
    const QString prefix = file + QStringLiteral("-page");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-gray"), QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
             QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
             QStringLiteral("-singlefile"), file, prefix});
    p.waitForFinished(30000);
    return QImage(prefix + QStringLiteral(".png"));
}
