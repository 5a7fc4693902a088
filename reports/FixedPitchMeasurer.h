#pragma once
#include "TextMeasurer.h"

// Every character half an em wide and lines 1.15 em high. For the engine's
// own tests and for runs without the real fonts at hand.
class FixedPitchMeasurer : public TextMeasurer {
public:
    std::vector<double> advances(const ReportFont& font, std::u16string_view text) const override
    {
        return std::vector<double>(text.size(), em(font) / 2);
    }
    double lineHeight(const ReportFont& font) const override { return em(font) * 1.15; }

private:
    static double em(const ReportFont& font) { return font.Size * 254.0 / 72.0; }
};
