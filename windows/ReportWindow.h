#pragma once
#include "TForm.h"

// A window that only carries a report: created at start-up and never shown.
// The layout of these windows is never seen, so they take a plain default
// size and position.
class ReportWindow : public TForm {
    Q_OBJECT
public:
    ReportWindow(const QString& name, const QString& caption);

    // Opens the preview of this window's report and returns when it closes.
    // Pending: the report engine and its preview are not part of the program
    // yet; until they are, the request is only counted and nothing is shown.
    void OpenPreview();
    int previewRequests() const { return previewRequests_; }

private:
    int previewRequests_ = 0;
};
