#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "DeviceDescription.h"
#include "PageCanvas.h"

// One printer as the report engine uses it: its device description, its
// resolution and unprintable margins, and one print job of sheets.
class PrintDevice {
public:
    virtual ~PrintDevice() = default;

    // What the driver holds now; SetDescription applies a changed copy.
    virtual DeviceDescription Description() const = 0;
    virtual void SetDescription(const DeviceDescription& description) = 0;

    virtual double PixelsPerInchX() const = 0;
    virtual double PixelsPerInchY() const = 0;
    // Where the printable area starts on the sheet, in device pixels.
    virtual PagePoint PrintableOffset() const = 0;

    virtual void SetTitle(const std::string& title) = 0;
    // Starts the job on its first sheet.
    virtual void BeginJob() = 0;
    virtual bool JobOpen() const = 0;
    // Draws on the current sheet, in device pixels from the printable area's corner.
    virtual PageCanvas& Canvas() = 0;
    virtual void NewSheet() = 0;
    // Sends the job to the printer.
    virtual void EndJob() = 0;
    // Drops the job; what is already on its way may still print.
    virtual void AbortJob() = 0;
    // Draws a stored page picture stretched over the whole printable area of
    // the current sheet.
    virtual void DrawPicture(std::span<const std::uint8_t> picture) = 0;
};
