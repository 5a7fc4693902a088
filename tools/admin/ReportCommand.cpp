#include "ReportCommand.h"

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "PdfExport.h"
#include "QtTextMeasurer.h"
#include "ReportDefinitions.h"
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

std::unique_ptr<TBandReport> reportNamed(const std::string& name, TDMarsipstaf& module)
{
    if (name == "Form9")
        return ReportDefinitions::Form9(&module.Tdatapeg);
    if (name == "Form10")
        return ReportDefinitions::Form10(&module.Tdatapeg);
    if (name == "Form11")
        return ReportDefinitions::Form11(&module.Tmutasi);
    return nullptr;
}

}  // namespace

int ReportCommand::run(const std::string& name, const std::string& file, bool coded, const std::string& pdf,
                       std::ostream& out, std::ostream& err)
{
    TDMarsipstaf module;
    std::unique_ptr<TBandReport> report = reportNamed(name, module);
    if (!report) {
        err << "report: NAME must be Form9, Form10 or Form11\n";
        return 2;
    }
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
