#include "PdfExport.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cerrno>

#include "EReportError.h"
#include "PagePainter.h"
#include "PdfBlankGlyphs.h"
#include "ReplacingFile.h"
#include "TRepPrinter.h"

namespace {

[[noreturn]] void fail(const QString& why)
{
    throw EReportError(why.toStdString());
}

QPageLayout layoutOf(const TRepPrinter& destination)
{
    // The paper in portrait, turned as the report is.
    const QPageSize paper(QSizeF(destination.PaperWidth() / 10, destination.PaperLength() / 10), QPageSize::Millimeter);
    const auto orientation =
        destination.Orientation == TRepOrientation::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(paper, orientation, QMarginsF());
}

}  // namespace

bool PdfExport::write(TRepPrinter& destination, const QString& fileName, const Progress& progress)
{
    if (destination.status() != TRepPrinter::Status::Finished)
        return false;
    // A report holds personal data: a new file is its owner's only; an
    // existing one keeps the modes its owner gave it.
    ReplacingFile target(fileName.toStdString());
    QFile file;
    if (!target.ok() || !file.open(target.fd(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        fail(target.ok()
                 ? QStringLiteral("Cannot create file \"") + fileName + QStringLiteral("\": ") + file.errorString()
                 : QString::fromStdString(target.error()));
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(QString::fromStdString(destination.Title));
        pdf.setCreator(QStringLiteral("Arsipstaf"));
        pdf.setResolution(600);
        pdf.setPageLayout(layoutOf(destination));
        QPainter painter;
        if (!painter.begin(&pdf))
            fail(QStringLiteral("Cannot write file \"") + fileName + QStringLiteral("\": ") + file.errorString());
        const QRectF sheet(0, 0, pdf.width(), pdf.height());
        const int pages = destination.PageCount();
        for (int n = 1; n <= pages; ++n) {
            if (n > 1)
                pdf.newPage();
            if (const auto picture = destination.GetPage(n))
                PagePainter::paint(painter, *picture, sheet, true);
            // without a commit the file written so far goes
            if (progress && !progress(n, pages))
                return false;
        }
        painter.end();
    }
    // What the file still buffers is written before the name moves: a write
    // that fails there (a full disk) is an error too, not a short file.
    if (!file.flush() || file.error() != QFileDevice::NoError || !PdfBlankGlyphs::mapToSpaces(target.fd()))
        target.failed(errno != 0 ? errno : EIO);
    file.close();
    if (!target.commit())
        fail(QString::fromStdString(target.error()));
    return true;
}
