#include "ReportWindow.h"

#include "WindowFonts.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<ReportWindow*>& liveWindows()
{
    static std::vector<ReportWindow*> windows;
    return windows;
}
}  // namespace

ReportWindow::ReportWindow(const QString& name, const QString& caption, std::unique_ptr<TBandReport> report)
    : TForm(name, caption, QRect(0, 0, 800, 600), WindowFonts::sansSerif(11)),
      Report1(new ReportPanel(std::move(report), this))
{
    liveWindows().push_back(this);
}

ReportWindow::ReportWindow(const ReportRegistry::Entry& report, TDMarsipstaf& module)
    : ReportWindow(QString::fromLatin1(report.name), QString::fromUtf8(report.caption), report.makeReport(module))
{
}

ReportWindow::~ReportWindow()
{
    std::erase(liveWindows(), this);
}

ReportWindow* ReportWindow::named(const QString& name)
{
    const auto& windows = liveWindows();
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [&](ReportWindow* window) { return window->objectName() == name; });
    return found == windows.end() ? nullptr : *found;
}
