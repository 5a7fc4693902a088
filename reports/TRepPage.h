#pragma once
#include <array>

#include "ReportUnits.h"
#include "TRepTypes.h"

// The paper of a report: size, orientation, columns and the seven stored
// values in tenths of a millimetre. The accessors read and write in Units.
class TRepPage {
public:
    enum Value {
        BottomMarginValue,
        LengthValue,
        TopMarginValue,
        WidthValue,
        LeftMarginValue,
        RightMarginValue,
        ColumnSpaceValue
    };

    // The seven stored values by name, in tenths of a millimetre.
    struct StoredValues {
        double width = 0;
        double length = 0;
        double topMargin = 0;
        double bottomMargin = 0;
        double leftMargin = 0;
        double rightMargin = 0;
        double columnSpace = 0;
    };
    // Values laid out in the order of Value.
    static std::array<double, 7> stored(const StoredValues& page);

    // Defaults of a new page follow the measurement setting of the regional
    // settings: Letter, inches and half-inch margins for the U.S. system,
    // otherwise A4, millimetres and 10 mm margins.
    explicit TRepPage(const UnitContext* context = nullptr);

    // Portrait width and length of paper number 1..26, in millimetres.
    static bool paperDimensions(TRepPaperSize size, double& widthMm, double& lengthMm);

    TRepPaperSize PaperSize() const { return paperSize_; }
    // Sets Width and Length from the paper table unless Default or Custom.
    void setPaperSize(TRepPaperSize size);
    TRepOrientation Orientation() const { return orientation_; }
    // Re-applies the paper size in the new orientation.
    void setOrientation(TRepOrientation orientation);
    int Columns() const { return columns_; }
    void setColumns(int columns)
    {
        if (columns > 0)
            columns_ = columns;
    }

    std::array<double, 7> Values{};
    TRepUnits Units = TRepUnits::MM;

    double BottomMargin() const { return get(BottomMarginValue, false); }
    double TopMargin() const { return get(TopMarginValue, false); }
    double LeftMargin() const { return get(LeftMarginValue, true); }
    double RightMargin() const { return get(RightMarginValue, true); }
    double ColumnSpace() const { return get(ColumnSpaceValue, true); }
    double Length() const { return get(LengthValue, false); }
    double Width() const { return get(WidthValue, true); }
    void setBottomMargin(double v) { set(BottomMarginValue, v, false); }
    void setTopMargin(double v) { set(TopMarginValue, v, false); }
    void setLeftMargin(double v) { set(LeftMarginValue, v, true); }
    void setRightMargin(double v) { set(RightMarginValue, v, true); }
    void setColumnSpace(double v) { set(ColumnSpaceValue, v, true); }
    // Only while the paper size is Custom.
    void setLength(double v)
    {
        if (paperSize_ == TRepPaperSize::Custom)
            set(LengthValue, v, false);
    }
    void setWidth(double v)
    {
        if (paperSize_ == TRepPaperSize::Custom)
            set(WidthValue, v, true);
    }

    void setContext(const UnitContext* context) { context_ = context; }

private:
    double get(Value which, bool horizontal) const;
    void set(Value which, double v, bool horizontal);
    void applyPaper();

    const UnitContext* context_;
    TRepPaperSize paperSize_ = TRepPaperSize::A4;
    TRepOrientation orientation_ = TRepOrientation::poPortrait;
    int columns_ = 1;
};
