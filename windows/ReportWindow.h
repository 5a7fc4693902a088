#pragma once
#include <memory>

#include "ReportPanel.h"
#include "TForm.h"

// A window that only carries a report: created at start-up and never shown.
// The layout of these windows is never seen, so they take a plain default
// size and position.
class ReportWindow : public TForm {
    Q_OBJECT
public:
    // Takes ownership of the report.
    ReportWindow(const QString& name, const QString& caption, std::unique_ptr<TBandReport> report);

    // Opens the preview of this window's report and returns when it closes.
    void OpenPreview() { Report1->OpenPreview(); }

    ReportPanel* Report1;  // owned by the window
};
