#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PrintableText.h"

// A horizontal strip of the page whose type says when it prints. Owns its
// printable controls; the child band belongs to the report.
class TRepBand {
public:
    enum Value { HeightValue, WidthValue };

    TRepBand(std::string name, TRepBandType type) : Name(std::move(name)), BandType(type) {}

    // Takes ownership and returns the control.
    template <class Control>
    Control* add(std::unique_ptr<Control> control)
    {
        Control* raw = control.get();
        raw->setContext(context_);
        controls_.push_back(std::move(control));
        return raw;
    }
    const std::vector<std::unique_ptr<PrintableText>>& controls() const { return controls_; }

    std::string Name;
    TRepBandType BandType;
    std::array<double, 2> Values{};  // height, width in tenths of a millimetre
    TRepUnits Units = TRepUnits::MM;
    bool AlignToBottom = false;
    bool ForceNewPage = false;
    bool ForceNewColumn = false;
    bool Enabled = true;
    PageColor Color = PageColor::white();
    TRepFrame Frame;
    TRepBand* ChildBand = nullptr;
    // A band whose texts stretch moves whole to the next page when its
    // stretched height does not fit, instead of going on there.
    bool keepTogether = false;
    // May set print to false to keep the band off the page.
    std::function<void(const TRepBand& band, bool& print)> BeforePrint;
    std::function<void(const TRepBand& band, bool printed)> AfterPrint;

    double Height() const;
    double Width() const;
    void setHeight(double v);
    void setWidth(double v);
    void setContext(const UnitContext* context);
    void setUnits(TRepUnits units);

private:
    const UnitContext* context_ = nullptr;
    std::vector<std::unique_ptr<PrintableText>> controls_;
};
