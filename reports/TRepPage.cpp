#include "TRepPage.h"

#include <utility>

#include "RegionalSettings.h"

namespace {

constexpr double Papers[26][2] = {
    {215.9, 279.4}, {215.9, 279.4}, {279.4, 431.8}, {431.8, 279.4}, {215.9, 355.6}, {139.7, 215.9}, {190.5, 254.0},
    {297, 420},     {210, 297},     {210, 297},     {148, 210},     {250, 354},     {182, 257},     {215.9, 330.2},
    {215, 275},     {254, 355.6},   {279.4, 431.8}, {215.9, 279.0}, {98.43, 225.4}, {104.8, 241.3}, {114.3, 263.5},
    {101.6, 279.4}, {127.0, 292.1}, {100, 100},     {100, 100},     {100, 100}};

const UnitContext DefaultContext;

}  // namespace

TRepPage::TRepPage(const UnitContext* context) : context_(context)
{
    const bool us = RegionalSettings::current().measurement == RegionalSettings::Measurement::US;
    Units = us ? TRepUnits::Inches : TRepUnits::MM;
    const double margin = us ? 127 : 100;
    Values = stored({.topMargin = margin, .bottomMargin = margin, .leftMargin = margin, .rightMargin = margin});
    setPaperSize(us ? TRepPaperSize::Letter : TRepPaperSize::A4);
}

std::array<double, 7> TRepPage::stored(const StoredValues& page)
{
    std::array<double, 7> values{};
    values[WidthValue] = page.width;
    values[LengthValue] = page.length;
    values[TopMarginValue] = page.topMargin;
    values[BottomMarginValue] = page.bottomMargin;
    values[LeftMarginValue] = page.leftMargin;
    values[RightMarginValue] = page.rightMargin;
    values[ColumnSpaceValue] = page.columnSpace;
    return values;
}

bool TRepPage::paperDimensions(TRepPaperSize size, double& widthMm, double& lengthMm)
{
    const int n = static_cast<int>(size);
    if (n < 1 || n > 26)
        return false;
    widthMm = Papers[n - 1][0];
    lengthMm = Papers[n - 1][1];
    return true;
}

void TRepPage::applyPaper()
{
    double w, l;
    if (!paperDimensions(paperSize_, w, l))
        return;
    if (orientation_ == TRepOrientation::poLandscape)
        std::swap(w, l);
    Values[WidthValue] = w * 10;
    Values[LengthValue] = l * 10;
}

void TRepPage::setPaperSize(TRepPaperSize size)
{
    paperSize_ = size;
    applyPaper();
}

void TRepPage::setOrientation(TRepOrientation orientation)
{
    orientation_ = orientation;
    applyPaper();
}

double TRepPage::get(Value which, bool horizontal) const
{
    return ReportUnits::fromNative(Values[which], Units, horizontal, context_ ? *context_ : DefaultContext);
}

void TRepPage::set(Value which, double v, bool horizontal)
{
    Values[which] = ReportUnits::toNative(v, Units, horizontal, context_ ? *context_ : DefaultContext);
}
