#pragma once
#include <string_view>
#include <vector>

#include "TRepTypes.h"

// Measures text for the layout, in tenths of a millimetre at the font's point
// size, so a page lays out the same on every device.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Advance of each UTF-16 unit of the text, in order.
    virtual std::vector<double> advances(const ReportFont& font, std::u16string_view text) const = 0;
    // The same into `out`, whose room a measurer may reuse: a run measures
    // every record's texts.
    virtual void measure(const ReportFont& font, std::u16string_view text, std::vector<double>& out) const
    {
        out = advances(font, text);
    }
    // The height of a text line: the cell height of "W".
    virtual double lineHeight(const ReportFont& font) const = 0;

    double width(const ReportFont& font, std::u16string_view text) const
    {
        double sum = 0;
        for (double a : advances(font, text))
            sum += a;
        return sum;
    }
};
