#include "TBandReport.h"

#include "FixedPitchMeasurer.h"

TBandReport::TBandReport(std::string name) : Name(std::move(name)), Page(&context_)
{
    units_ = Page.Units;
    Functions = {{"PAGENUMBER", "0"}, {"COLUMNNUMBER", "0"}, {"REPORTTITLE", "''"}};
}

TRepBand* TBandReport::addBand(std::unique_ptr<TRepBand> band)
{
    band->setContext(&context_);
    bands_.push_back(std::move(band));
    return bands_.back().get();
}

TRepPrintable* TBandReport::addControl(std::unique_ptr<TRepPrintable> control)
{
    control->setContext(&context_);
    controls_.push_back(std::move(control));
    return controls_.back().get();
}

TRepBand* TBandReport::findBand(TRepBandType type) const
{
    for (const auto& band : bands_)
        if (band->BandType == type)
            return band.get();
    return nullptr;
}

void TBandReport::RunReport(TRepPrinter& destination)
{
    if (!Available())
        return;
    ReportRun run(*this, destination);
    run.Execute();
}

double TBandReport::SpaceLeft() const
{
    return run_ ? run_->SpaceLeft() : 0;
}

void TBandReport::setUnits(TRepUnits units)
{
    units_ = units;
    Page.Units = units;
    for (auto& band : bands_)
        band->setUnits(units);
    for (auto& control : controls_)
        control->Units = units;
}

void TBandReport::setZoom(int zoom)
{
    if (zoom >= 1 && zoom <= 300) {
        zoom_ = zoom;
        context_.zoom = zoom;
    }
}

const TextMeasurer& TBandReport::measurer() const
{
    static const FixedPitchMeasurer fallback;
    return Measurer ? *Measurer : fallback;
}

void TBandReport::processMessages()
{
    if (ProcessMessages)
        ProcessMessages();
}

void TBandReport::prepare()
{
    Functions["PAGENUMBER"] = "0";
    Functions["COLUMNNUMBER"] = "0";
    Functions["REPORTTITLE"] = "'" + ReportTitle + "'";
    const double w = measurer().width(Font, u"W");
    context_.charWidth = w;
    context_.charHeight = measurer().lineHeight(Font);
    for (auto& band : bands_)
        for (auto& control : band->controls())
            control->Prepare();
    for (auto& control : controls_)
        control->Prepare();
}

void TBandReport::unprepare()
{
    for (auto& band : bands_)
        for (auto& control : band->controls())
            control->Unprepare();
    for (auto& control : controls_)
        control->Unprepare();
}
