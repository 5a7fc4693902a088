#include "TBandReport.h"

#include <utility>

#include "FixedPitchMeasurer.h"

TBandReport::TBandReport(std::string name) : Name(std::move(name)), Page(&context_)
{
    units_ = Page.Units;
    context_.characterSize = [this](bool horizontal) {
        return horizontal ? measurer().width(Font, u"W") : measurer().lineHeight(Font);
    };
    Functions = {{"PAGENUMBER", "0"}, {"COLUMNNUMBER", "0"}, {"REPORTTITLE", "''"}};
}

TRepBand* TBandReport::addBand(std::unique_ptr<TRepBand> band)
{
    band->setContext(&context_);
    bands_.push_back(std::move(band));
    return bands_.back().get();
}

PrintableText* TBandReport::addControl(std::unique_ptr<PrintableText> control)
{
    control->setContext(&context_);
    controls_.push_back(std::move(control));
    return controls_.back().get();
}

TRepBand* TBandReport::findBand(TRepBandType type)
{
    return const_cast<TRepBand*>(std::as_const(*this).findBand(type));
}

const TRepBand* TBandReport::findBand(TRepBandType type) const
{
    for (const auto& band : bands_)
        if (band->BandType == type)
            return band.get();
    return nullptr;
}

bool TBandReport::RunReport(TRepPrinter& destination)
{
    if (!Available())
        return false;
    ReportRun run(*this, destination);
    run.Execute();
    return !run.Cancelled();
}

void TBandReport::Cancel()
{
    if (run_)
        run_->Cancel();
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

void TBandReport::processMessages() const
{
    if (ProcessMessages)
        ProcessMessages();
}
