#pragma once
#include <array>
#include <string>

#include "ReportUnits.h"
#include "TRepTypes.h"

class TBandReport;

// A control that prints a text on a band: the fixed caption of a TRepLabel
// or a field's display text for a TRepDBText. Sizes are stored in tenths of a
// millimetre relative to the band's top-left corner.
class PrintableText {
public:
    enum Value { HeightValue, LeftValue, TopValue, WidthValue };

    explicit PrintableText(std::string name) : Name(std::move(name)) {}
    virtual ~PrintableText() = default;

    // The text for the current record; never raises.
    virtual std::string Text() const = 0;

    std::string Name;
    std::array<double, 4> Values{};  // height, left, top, width
    TRepUnits Units = TRepUnits::MM;
    TRepAlignment Alignment = TRepAlignment::taLeftJustify;
    bool AutoSize = true;
    bool AutoStretch = false;
    bool WordWrap = true;
    bool Transparent = false;
    bool Enabled = true;
    PageColor Color = PageColor::white();
    TRepFrame Frame;
    double FontSize = 0;  // points; 0 follows the report font

    double Height() const { return get(HeightValue, false); }
    double Left() const { return get(LeftValue, true); }
    double Top() const { return get(TopValue, false); }
    double Width() const { return get(WidthValue, true); }
    void setHeight(double v) { set(HeightValue, v, false); }
    void setLeft(double v) { set(LeftValue, v, true); }
    void setTop(double v) { set(TopValue, v, false); }
    void setWidth(double v) { set(WidthValue, v, true); }

    void setContext(const UnitContext* context) { context_ = context; }

private:
    double get(Value which, bool horizontal) const;
    void set(Value which, double v, bool horizontal);

    const UnitContext* context_ = nullptr;
};
