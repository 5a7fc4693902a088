#pragma once
#include <cstdint>
#include <span>

#include "PageCanvas.h"

// What the header of a page picture says about the page.
struct EmfPictureInfo {
    PageRect bounds;  // pixels, inclusive
    PageRect frame;   // hundredths of a millimetre
    std::uint16_t handles = 0;

    // In a wider type: a picture from a file may hold any bounds.
    std::int64_t widthPixels() const { return std::int64_t(bounds.right) - bounds.left + 1; }
    std::int64_t heightPixels() const { return std::int64_t(bounds.bottom) - bounds.top + 1; }
    double widthTenthsMm() const { return double(std::int64_t(frame.right) - frame.left) / 10.0; }
    double heightTenthsMm() const { return double(std::int64_t(frame.bottom) - frame.top) / 10.0; }
};

// Reads Enhanced Metafile pictures: what our writer emits and the common
// drawing records of other writers. Unknown records are skipped; a record
// that lies about its size, or a field that would be read outside its record,
// raises EReportError and nothing is read past the buffer.
class EmfPlayer {
public:
    // The header of a picture; raises EReportError when it is not one.
    static EmfPictureInfo info(std::span<const std::uint8_t> bytes);

    // Draws every record on the canvas. On a malformed record the records
    // before it have been drawn and EReportError is raised.
    static void play(std::span<const std::uint8_t> bytes, PageCanvas& canvas);

    // Whether the picture ends as our writer ends every picture: a seal
    // (a comment holding the CRC-32 of every byte before it), then the end.
    static bool sealed(std::span<const std::uint8_t> bytes);
    // Checks a whole picture without showing it; raises EReportError when it
    // could not be shown whole. A picture that must be sealed is checked
    // against its seal; any other is played onto nothing, reading every
    // field once.
    static void check(std::span<const std::uint8_t> bytes, bool mustBeSealed);
};
