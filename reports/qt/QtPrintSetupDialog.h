#pragma once
#include "PrintSetupDialog.h"

// Qt's print dialog on the installed printers. With none installed it warns
// and counts as cancelled.
class QtPrintSetupDialog : public PrintSetupDialog {
public:
    bool Execute(PrintSetupRequest& request) override;
};
