#pragma once
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "PrintDevice.h"
#include "QtPageCanvas.h"

// A printer through Qt's printing: the device description maps onto the
// printer's page layout, copies, paper source and duplex; a job is one
// painter on the printer.
class QtPrintDevice : public PrintDevice {
public:
    // Takes ownership of the printer, which the caller has pointed at a
    // platform printer or at a PDF file.
    explicit QtPrintDevice(std::unique_ptr<QPrinter> printer);
    ~QtPrintDevice() override;

    QPrinter& printer() { return *printer_; }
    int sheets() const { return sheets_; }

    DeviceDescription Description() const override;
    void SetDescription(const DeviceDescription& description) override;
    double PixelsPerInchX() const override;
    double PixelsPerInchY() const override;
    PagePoint PrintableOffset() const override;
    void SetTitle(const std::string& title) override;
    void BeginJob() override;
    bool JobOpen() const override { return painter_ != nullptr; }
    PageCanvas& Canvas() override;
    void NewSheet() override;
    void EndJob() override;
    void AbortJob() override;
    void DrawPicture(std::span<const std::uint8_t> picture) override;

    // The paper source Qt names for a source number, and back.
    static QPrinter::PaperSource paperSourceOf(int source);
    static int sourceNumberOf(QPrinter::PaperSource source);
    // Qt's duplex mode for a duplex code, and back. Output to a PDF file
    // keeps no duplex mode.
    static QPrinter::DuplexMode duplexModeOf(int duplex);
    static int duplexCodeOf(QPrinter::DuplexMode mode);

private:
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<QtPageCanvas> canvas_;
    int sheets_ = 0;
};
