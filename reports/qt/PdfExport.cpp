#include "PdfExport.h"

#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <cerrno>
#include <cstdio>

#include "EReportError.h"
#include "EmfPlayer.h"
#include "PdfFonts.h"
#include "PdfObjects.h"
#include "PdfPageCanvas.h"
#include "ReplacingFile.h"
#include "TRepPrinter.h"

namespace {

[[noreturn]] void fail(const std::string& why)
{
    throw EReportError(why);
}

// The sheet in points: the paper in portrait, turned as the report is.
QSizeF sheetOf(const TRepPrinter& destination)
{
    const QPageSize paper(QSizeF(destination.PaperWidth() / 10, destination.PaperLength() / 10), QPageSize::Millimeter);
    const auto orientation =
        destination.Orientation == TRepOrientation::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(paper, orientation, QMarginsF()).fullRect(QPageLayout::Point).size();
}

// A document string in UTF-16 with its byte-order mark, as hexadecimal.
std::string textString(const QString& text)
{
    std::string out = "<FEFF";
    char unit[5];
    for (QChar c : text) {
        std::snprintf(unit, sizeof unit, "%04X", c.unicode());
        out += unit;
    }
    return out + ">";
}

std::string ref(int number)
{
    return std::to_string(number) + " 0 R";
}

}  // namespace

bool PdfExport::write(TRepPrinter& destination, const QString& fileName, const Progress& progress)
{
    if (destination.status() != TRepPrinter::Status::Finished)
        return false;
    // A report holds personal data: a new file is its owner's only; an
    // existing one keeps the modes its owner gave it.
    ReplacingFile target(fileName.toStdString());
    if (!target.ok())
        fail(target.error());
    PdfObjects pdf([&](std::string_view bytes) { return target.write(bytes); });
    const auto check = [&](bool written) {
        if (!written)
            fail(target.ok() ? "Cannot write file \"" + fileName.toStdString() + "\"" : target.error());
    };
    const int catalog = pdf.reserve(), pages = pdf.reserve(), info = pdf.reserve(), resources = pdf.reserve();
    const QSizeF sheet = sheetOf(destination);
    const std::string mediaBox = "[0 0 " + pdfNumber(sheet.width()) + " " + pdfNumber(sheet.height()) + "]";
    PdfFonts fonts(pdf);
    PdfPageCanvas canvas(fonts);
    std::string kids;
    const int count = destination.PageCount();
    for (int n = 1; n <= count; ++n) {
        const int content = pdf.reserve(), page = pdf.reserve();
        EmfPictureInfo picture;
        const auto stored = destination.GetPage(n);
        if (stored)
            picture = EmfPlayer::info(*stored);
        canvas.begin(picture, sheet.width(), sheet.height());
        if (stored && picture.widthPixels() > 0 && picture.heightPixels() > 0)
            EmfPlayer::play(*stored, canvas);
        check(pdf.stream(content, "", canvas.end()));
        check(pdf.object(page, "<< /Type /Page /Parent " + ref(pages) + " /MediaBox " + mediaBox + " /Resources " +
                                   ref(resources) + " /Contents " + ref(content) + " >>"));
        kids += (n > 1 ? " " : "") + ref(page);
        // without a commit the file written so far goes
        if (progress && !progress(n, count))
            return false;
    }
    check(fonts.write(resources));
    check(pdf.object(pages, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(count) + " >>"));
    check(pdf.object(catalog, "<< /Type /Catalog /Pages " + ref(pages) + " >>"));
    const QString now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    check(pdf.object(info, "<< /Title " + textString(QString::fromStdString(destination.Title)) +
                               " /Creator (Arsipstaf) /Producer (Arsipstaf) /CreationDate (D:" + now.toStdString() +
                               "Z) >>"));
    check(pdf.finish(catalog, info));
    if (!target.commit())
        fail(target.error());
    return true;
}
