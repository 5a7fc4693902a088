#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "TextMeasurer.h"

// Breaks a control's text into the lines it prints. The text is split at
// carriage returns (line feeds are dropped). With autoSize each line stays
// whole; otherwise words fill a line while it fits `width`, a word wider than
// the control is cut by characters, and without wordWrap everything after
// the first overflow of a line is dropped (later lines still print). A cut
// never splits a surrogate pair.
struct TextLayout {
    std::vector<std::u16string> lines;
    // The measurer's advances of each line, in order.
    std::vector<std::vector<double>> advances;
    // Each line's width: the sum of its advances, in order.
    std::vector<double> widths;
    double widest = 0;  // tenths of a millimetre
    // Where a run last drew each line, and the line's advances in device
    // units from there: a text kept for a run is mostly drawn at one place.
    mutable std::vector<double> placedAt;
    mutable std::vector<std::vector<std::int32_t>> placedAdvances;

    static TextLayout make(const std::u16string& text, const ReportFont& font, const TextMeasurer& measurer,
                           double width, bool autoSize, bool wordWrap);
    // Lays the text out afresh in this layout, reusing its room: a run lays
    // out a text of every record in one layout.
    void assign(std::u16string_view text, const ReportFont& font, const TextMeasurer& measurer, double width,
                bool autoSize, bool wordWrap);
};
