#include "ReportWindow.h"

#include "WindowFonts.h"

ReportWindow::ReportWindow(const QString& name, const QString& caption, std::unique_ptr<TBandReport> report)
    : TForm(name, caption, QRect(0, 0, 800, 600), WindowFonts::sansSerif(11)),
      Report1(new ReportPanel(std::move(report), this))
{
}
