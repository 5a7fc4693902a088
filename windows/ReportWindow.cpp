#include "ReportWindow.h"

#include "WindowFonts.h"

ReportWindow::ReportWindow(const QString& name, const QString& caption)
    : TForm(name, caption, QRect(0, 0, 800, 600), WindowFonts::sansSerif(11))
{
}

void ReportWindow::OpenPreview()
{
    ++previewRequests_;
}
