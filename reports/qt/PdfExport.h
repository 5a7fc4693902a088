#pragma once
#include <QString>
#include <string>

class TRepPrinter;

// Writes the stored pages of a finished destination into a PDF file, one PDF
// page per report page, in the paper size and orientation of the report,
// painted as the preview paints them, so the texts stay text. The file takes
// its name only once it is whole: a failed export leaves an earlier file of
// that name as it was. Raises EReportError on failure; writes nothing while
// the destination has not finished.
namespace PdfExport {
void write(TRepPrinter& destination, const QString& fileName);
}  // namespace PdfExport
