#pragma once

class TRepPrinter;

// The report a destination belongs to, as the preview reaches it.
class PrinterMaster {
public:
    virtual ~PrinterMaster() = default;
    // The preview's Print button on pages produced by a run of this report.
    virtual void PrintRequested(TRepPrinter& destination) = 0;
    // The preview on the destination is closing; sent before it goes.
    virtual void PreviewClosed(TRepPrinter& destination) = 0;
};
