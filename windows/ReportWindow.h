#pragma once
#include <memory>

#include "ReportPanel.h"
#include "ReportRegistry.h"
#include "TForm.h"

class TDMarsipstaf;

// A window that only carries a report: created at start-up and never shown.
// The layout of these windows is never seen, so they take a plain default
// size and position.
class ReportWindow : public TForm {
    Q_OBJECT
public:
    // Takes ownership of the report.
    ReportWindow(const QString& name, const QString& caption, std::unique_ptr<TBandReport> report);
    // The window of a registered report, over its table of module.
    ReportWindow(const ReportRegistry::Entry& report, TDMarsipstaf& module);
    ~ReportWindow() override;

    // Opens the preview of this window's report and returns when it closes.
    void OpenPreview() { Report1->OpenPreview(); }

    // The live report window of that object name; nullptr when there is none.
    static ReportWindow* named(const QString& name);

    ReportPanel* Report1;  // owned by the window
};
