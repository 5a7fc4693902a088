#pragma once
#include <memory>

#include "PrintDevice.h"

// The installed printers.
class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    virtual int PrinterCount() const = 0;
    // index -1 (or out of range): the default printer. Never nullptr while
    // PrinterCount() is above 0.
    virtual std::unique_ptr<PrintDevice> Open(int index) = 0;
};
