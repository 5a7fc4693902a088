#include "PdfExport.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <unistd.h>

#include "EReportError.h"
#include "PagePainter.h"
#include "TRepPrinter.h"

namespace {

[[noreturn]] void fail(const QString& what, const QString& fileName, const QString& why)
{
    throw EReportError((what + QStringLiteral(" \"") + fileName + QStringLiteral("\": ") + why).toStdString());
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
    const bool existed = QFileInfo::exists(fileName);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        fail(QStringLiteral("Cannot create file"), fileName, file.errorString());
    // A report holds personal data: a new file is its owner's only; an
    // existing one keeps the modes its owner gave it (the save file does).
    if (!existed)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(QString::fromStdString(destination.Title));
        pdf.setCreator(QStringLiteral("Arsipstaf"));
        pdf.setResolution(600);
        pdf.setPageLayout(layoutOf(destination));
        QPainter painter;
        if (!painter.begin(&pdf))
            fail(QStringLiteral("Cannot write file"), fileName, file.errorString());
        const QRectF sheet(0, 0, pdf.width(), pdf.height());
        const int pages = destination.PageCount();
        for (int n = 1; n <= pages; ++n) {
            if (n > 1)
                pdf.newPage();
            if (const auto picture = destination.GetPage(n))
                PagePainter::paint(painter, *picture, sheet);
            if (progress && !progress(n, pages)) {
                painter.end();
                file.cancelWriting();  // the save file then drops what was written
                return false;
            }
        }
        painter.end();
    }
    // What the writer still buffers goes to the disk before the name moves:
    // a write that fails there (a full disk) is an error too, not a short file.
    if (!file.flush() || ::fsync(file.handle()) != 0)
        fail(QStringLiteral("Cannot write file"), fileName, file.errorString());
    if (!file.commit())
        fail(QStringLiteral("Cannot write file"), fileName, file.errorString());
    return true;
}
