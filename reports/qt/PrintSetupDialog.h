#pragma once
#include "TRepTypes.h"

// What the print-setup dialog opens with and what it hands back.
struct PrintSetupRequest {
    enum class Range { AllPages, Selection, PageRange };

    int printerIndex = -1;  // -1: the platform's default printer
    TRepOrientation orientation = TRepOrientation::poPortrait;
    int copies = 1;
    int minPage = 0, maxPage = 9999;
    int fromPage = 0, toPage = 0;
    Range range = Range::AllPages;  // opens on it; PageRange: fromPage to toPage
    bool pageRangeEnabled = true;
    bool selectionEnabled = false;
    bool printToFileShown = false;
    bool warnNoPrinter = true;
};

// The platform's print dialog.
class PrintSetupDialog {
public:
    virtual ~PrintSetupDialog() = default;
    // False when the user cancelled; on true the request holds the choices.
    virtual bool Execute(PrintSetupRequest& request) = 0;
};
