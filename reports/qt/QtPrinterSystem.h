#pragma once
#include "PrinterSystem.h"

// The printers the platform lists (through CUPS on Linux).
class QtPrinterSystem : public PrinterSystem {
public:
    int PrinterCount() const override;
    std::unique_ptr<PrintDevice> Open(int index) override;
};
