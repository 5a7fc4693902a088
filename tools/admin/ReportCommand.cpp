#include "ReportCommand.h"

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "PdfExport.h"
#include "QtTextMeasurer.h"
#include "ReportRegistry.h"
#include "TDMarsipstaf.h"
#include "TRepPrinter.h"

namespace {

// The real font metrics need a GUI application; a tool run has no screen.
// It lives until the process ends: destroyed among the static destructors
// it would outlive parts of Qt it still uses.
void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "arsipstaf-admin";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

}  // namespace

int ReportCommand::run(const std::string& name, const std::string& file, bool coded, const std::string& pdf,
                       std::ostream& out, std::ostream& err)
{
    const ReportRegistry::Entry* entry = ReportRegistry::find(name);
    if (!entry) {
        err << "report: NAME must be " << ReportRegistry::names() << "\n";
        return 2;
    }
    TDMarsipstaf module;
    std::unique_ptr<TBandReport> report = entry->makeReport(module);
    try {
        ensureGuiApplication();
        module.Loaded();
        QtTextMeasurer measurer;
        report->Measurer = &measurer;
        report->Options.Compression = coded;
        TRepPrinter destination;
        const auto start = std::chrono::steady_clock::now();
        report->RunReport(destination);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        destination.Save(file);
        if (!pdf.empty())
            PdfExport::write(destination, QString::fromStdString(pdf));
        char time[32];
        std::snprintf(time, sizeof time, "%.3f", seconds);
        out << name << ": " << destination.PageCount() << " pages in " << time << " s, saved to " << file
            << (coded ? " (coded)" : "") << (pdf.empty() ? "" : ", and as PDF to " + pdf) << "\n";
        return 0;
    } catch (const std::exception& e) {
        err << "report: " << e.what() << "\n";
        return 1;
    }
}
