#include "QtPrinterSystem.h"

#include <QPrinterInfo>

#include "QtPrintDevice.h"

int QtPrinterSystem::PrinterCount() const
{
    return static_cast<int>(QPrinterInfo::availablePrinters().size());
}

std::unique_ptr<PrintDevice> QtPrinterSystem::Open(int index)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    const QPrinterInfo info = index >= 0 && index < printers.size() ? printers[index] : QPrinterInfo::defaultPrinter();
    return std::make_unique<QtPrintDevice>(std::make_unique<QPrinter>(info, QPrinter::HighResolution));
}
