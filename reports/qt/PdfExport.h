#pragma once
#include <QString>
#include <functional>
#include <string>

class TRepPrinter;

// Writes the stored pages of a finished destination into a PDF file, one PDF
// page per report page, in the paper size and orientation of the report,
// painted as the preview paints them, so the texts stay text. The file takes
// its name only once it is whole: a failed export leaves an earlier file of
// that name as it was. Raises EReportError on failure; writes nothing while
// the destination has not finished.
namespace PdfExport {
// Told after each page how many pages are written of how many; false stops
// the export.
using Progress = std::function<bool(int written, int pages)>;
// False when progress stopped it: then no file has been written.
bool write(TRepPrinter& destination, const QString& fileName, const Progress& progress = {});
}  // namespace PdfExport
