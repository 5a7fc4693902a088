// The run of a report: traversal, pagination and the drawing of bands.
#include "ReportRun.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>

#include "TBandReport.h"
#include "TField.h"
#include "TRepDBText.h"
#include "TRepLabel.h"
#include "TRepPrinter.h"
#include "TextLayout.h"
#include "Utf16.h"

namespace {

constexpr double Epsilon = 1e-6;

// The advances of a line drawn from x, in the destination's units.
void deviceAdvances(const std::vector<double>& advances, double x, const TRepPrinter& destination,
                    std::vector<std::int32_t>& out)
{
    out.clear();
    double at = x;
    std::int32_t previous = destination.XPos(at);
    for (double a : advances) {
        at += a;
        const std::int32_t next = destination.XPos(at);
        out.push_back(next - previous);
        previous = next;
    }
}

PageFont pageFont(const ReportFont& font, const TRepPrinter& destination)
{
    PageFont f;
    f.family = font.Name;
    f.height = destination.FontPixels(font.Size);
    f.weight = font.Bold ? 700 : 400;
    f.italic = font.Italic;
    return f;
}

}  // namespace

ReportRun::ReportRun(TBandReport& report, TRepPrinter& destination)
    : report_(report), registration_(report.run_), destination_(destination)
{
    if (registration_)
        throw std::logic_error("a run of " + report.Name + " is in progress");
    registration_ = this;
}

ReportRun::~ReportRun()
{
    if (documentOpen_ && !documentEnded_)
        destination_.FailDocument();
    registration_ = nullptr;
}

void ReportRun::Execute()
{
    if (!Begin())
        return;
    Traverse();
    End();
}

bool ReportRun::Begin()
{
    bool print = true;
    if (report_.BeforePrint)
        report_.BeforePrint(report_, print);
    if (!print)
        return false;
    page_ = pageWithinPaper(report_.Page.Values);
    copySettings();
    destination_.OpenDocument();
    documentOpen_ = true;
    currentY_ = -1;
    pageCount_ = 0;
    column_ = report_.Page.Columns();
    measurePageFooter();
    currentX_ = page_[TRepPage::LeftMarginValue];
    functions_ = report_.Functions;
    functions_["PAGENUMBER"] = "0";
    functions_["COLUMNNUMBER"] = "0";
    functions_["REPORTTITLE"] = "'" + report_.ReportTitle + "'";
    findControls();
    return true;
}

std::array<double, 7> ReportRun::pageWithinPaper(const std::array<double, 7>& values)
{
    std::array<double, 7> v = values;
    if (v[TRepPage::WidthValue] - v[TRepPage::LeftMarginValue] - v[TRepPage::RightMarginValue] < 0)
        v[TRepPage::LeftMarginValue] = v[TRepPage::RightMarginValue] = 0;
    if (v[TRepPage::LengthValue] - v[TRepPage::TopMarginValue] - v[TRepPage::BottomMarginValue] < 0)
        v[TRepPage::TopMarginValue] = v[TRepPage::BottomMarginValue] = 0;
    return v;
}

void ReportRun::findControls()
{
    const auto find = [this](const std::unique_ptr<PrintableText>& control) {
        ControlState& state = controls_[control.get()];
        state.fonts = fontsFor(*control);
        if (const auto* text = dynamic_cast<const TRepDBText*>(control.get())) {
            state.dataText = true;
            state.field = text->field();
        }
    };
    for (const auto& band : report_.bands())
        for (const auto& control : band->controls())
            find(control);
    for (const auto& control : report_.controls())
        find(control);
}

std::string ReportRun::displayText(const TField* field)
{
    if (!field)
        return {};
    try {
        return field->DisplayText();
    } catch (const std::exception&) {
        return {};
    }
}

void ReportRun::copySettings()
{
    const TRepPage& page = report_.Page;
    const auto& v = page_;
    const TRepPrinterSettings& settings = report_.PrinterSettings;
    destination_.PrinterIndex = settings.PrinterIndex;
    destination_.PaperSize = page.PaperSize();
    destination_.Orientation = page.Orientation();
    if (page.PaperSize() == TRepPaperSize::Custom) {
        const bool landscape = page.Orientation() == TRepOrientation::poLandscape;
        destination_.CustomWidth = landscape ? v[TRepPage::LengthValue] : v[TRepPage::WidthValue];
        destination_.CustomLength = landscape ? v[TRepPage::WidthValue] : v[TRepPage::LengthValue];
    }
    destination_.Copies = settings.Copies;
    destination_.OutputBin = settings.OutputBin;
    destination_.Duplex = settings.Duplex;
    destination_.FirstPage = settings.FirstPage;
    destination_.LastPage = settings.LastPage;
    destination_.Title = report_.ReportTitle;
    destination_.Compression = report_.Options.Compression;
}

void ReportRun::measurePageFooter()
{
    pageFooterHeight_ = 0;
    for (const auto& band : report_.bands()) {
        if (band->BandType != TRepBandType::rbPageFooter || !band->Enabled)
            continue;
        for (const TRepBand* b = band.get(); b; b = b->ChildBand)
            if (b->Enabled)
                pageFooterHeight_ += b->Values[TRepBand::HeightValue];
    }
}

void ReportRun::End()
{
    currentX_ = page_[TRepPage::LeftMarginValue];
    lastPage_ = true;
    if (!cancelled())
        ClosePage();
    if (cancelled())
        destination_.AbortDocument();
    else
        destination_.FinishDocument();
    documentEnded_ = true;
}

bool ReportRun::cancelled() const
{
    return cancelled_;
}

void ReportRun::printEmptyForm()
{
    EmitBand(report_.findBand(TRepBandType::rbTitle));
    EmitBand(report_.findBand(TRepBandType::rbDetail));
    EmitBand(report_.findBand(TRepBandType::rbSummary));
}

namespace {

// Fields of a dataset read one record of a reading while the scope lasts.
class ReadingRecord {
public:
    ReadingRecord(TDataSet& data, const RecordBuffer& row) : data_(data), saved_(data.SelectBuffer(&row)) {}
    ~ReadingRecord() { data_.SelectBuffer(saved_); }
    ReadingRecord(const ReadingRecord&) = delete;
    ReadingRecord& operator=(const ReadingRecord&) = delete;

private:
    TDataSet& data_;
    const RecordBuffer* saved_;
};

}  // namespace

// The records come through a reading of their own, so the windows sharing
// the dataset may move it meanwhile (the run yields between records) without
// changing what prints, and their controls are not told of every record.
void ReportRun::Traverse()
{
    TDataSet* data = report_.DataSet;
    if (!data || !data->Active()) {
        if (report_.PrintIfEmpty)
            printEmptyForm();
        return;
    }
    std::unique_ptr<RecordReader> reader = data->OpenReader();
    if (!reader) {
        traverseMoving(*data);
        return;
    }
    RecordBuffer row;
    bool more = data->ReadRecord(*reader, row);
    const int count = recordCount(*data);
    if (!more) {
        if (report_.PrintIfEmpty)
            printEmptyForm();
        return;
    }
    traverseRecords(
        [&] {
            {
                ReadingRecord reading(*data, row);
                EmitBand(report_.findBand(TRepBandType::rbDetail));
            }
            return data->ReadRecord(*reader, row);
        },
        count);
    // A finished run leaves its dataset on the last record, as a run that
    // moved it would, unless the user is editing a record there meanwhile.
    if (!cancelled() && !destination_.Cancelled() && data->State() == TDataSetState::dsBrowse)
        data->Last();
}

// A dataset with no second cursor is read by moving it.
void ReportRun::traverseMoving(TDataSet& data)
{
    data.First();
    const int count = recordCount(data);
    if (data.Eof()) {
        if (report_.PrintIfEmpty)
            printEmptyForm();
        return;
    }
    traverseRecords(
        [&] {
            EmitBand(report_.findBand(TRepBandType::rbDetail));
            data.Next();
            return !data.Eof();
        },
        count);
}

int ReportRun::recordCount(TDataSet& data)
{
    try {
        return data.RecordCount();
    } catch (...) {
        return 1;
    }
}

// Title, column header, one detail band per record (printRecord prints the
// record and moves on; false after the last), then the summary.
void ReportRun::traverseRecords(const std::function<bool()>& printRecord, int count)
{
    report_.processMessages();
    if (cancelled())
        return;
    if (const TRepBand* title = report_.findBand(TRepBandType::rbTitle)) {
        EmitBand(title);
        skipForcedPage_ = true;
    }
    const TRepBand* header = report_.findBand(TRepBandType::rbColumnHeader);
    if (pageCount_ <= 1 && header && header->Enabled) {
        EmitBand(header);
        skipForcedPage_ = true;
    }
    int detailNumber = 0;
    // Each percentage holds for many records of a long run; an observer
    // (the preview posts a window message a call) hears only the changes.
    int told = -1;
    for (bool more = true; more;) {
        report_.processMessages();
        if (cancelled() || destination_.Cancelled())
            return;
        ++detailNumber;
        more = printRecord();
        if (count != 0 && detailNumber * 100 / count != told) {
            told = detailNumber * 100 / count;
            destination_.setProgress(told);
        }
    }
    if (const TRepBand* summary = report_.findBand(TRepBandType::rbSummary)) {
        if (pageCount_ == 0)
            AdvanceColumn();
        EmitBand(summary);
    }
}

double ReportRun::pageHeightOnPaper() const
{
    return page_[TRepPage::LengthValue];
}

double ReportRun::SpaceLeft() const
{
    if (pageCount_ == 0)
        return 0;
    return pageHeightOnPaper() - page_[TRepPage::BottomMarginValue] - pageFooterHeight_ - currentY_;
}

void ReportRun::AdvanceColumn()
{
    const auto& v = page_;
    if (column_ >= report_.Page.Columns()) {
        column_ = 1;
        currentX_ = v[TRepPage::LeftMarginValue];
        OpenPage();
    } else {
        const int columns = report_.Page.Columns();
        const auto width =
            static_cast<long long>(v[TRepPage::WidthValue] - v[TRepPage::LeftMarginValue] -
                                   v[TRepPage::RightMarginValue] - v[TRepPage::ColumnSpaceValue] * (columns - 1)) /
            columns;
        currentX_ += static_cast<double>(width) + v[TRepPage::ColumnSpaceValue];
        currentY_ = columnTop_;
        ++column_;
    }
    functions_["COLUMNNUMBER"] = std::to_string(column_);
    if (!(column_ == 1 && pageCount_ == 1))
        EmitBand(report_.findBand(TRepBandType::rbColumnHeader));
}

void ReportRun::OpenPage()
{
    ClosePage();
    ++pageCount_;
    functions_["PAGENUMBER"] = std::to_string(pageCount_);
    destination_.NewPage();
    currentY_ = page_[TRepPage::TopMarginValue];
    if (report_.OnStartPage)
        report_.OnStartPage(report_);
    const TRepBand* header = report_.findBand(TRepBandType::rbPageHeader);
    if (header && (pageCount_ > 1 || report_.Options.FirstPageHeader)) {
        printingPageBands_ = true;
        EmitBand(header);
        printingPageBands_ = false;
    }
    columnTop_ = currentY_;
    if (pageCount_ == 1)
        if (const TRepBand* title = report_.findBand(TRepBandType::rbTitle))
            columnTop_ += title->Values[TRepBand::HeightValue];
}

void ReportRun::ClosePage()
{
    if (pageCount_ == 0)
        return;
    const auto& v = page_;
    currentY_ = v[TRepPage::LengthValue] - v[TRepPage::BottomMarginValue] - pageFooterHeight_;
    currentX_ = v[TRepPage::LeftMarginValue];
    if (!(lastPage_ && !report_.Options.LastPageFooter)) {
        printingPageBands_ = true;
        emitBand(report_.findBand(TRepBandType::rbPageFooter), true);
        printingPageBands_ = false;
    }
    for (const auto& control : report_.controls())
        if (control->Enabled)
            printControl(*control, control->Values[PrintableText::LeftValue], control->Values[PrintableText::TopValue],
                         nullptr);
    if (finalPass_ && report_.Frame.any())
        drawFrame(report_.Frame, v[TRepPage::LeftMarginValue], v[TRepPage::TopMarginValue],
                  v[TRepPage::WidthValue] - v[TRepPage::RightMarginValue],
                  v[TRepPage::LengthValue] - v[TRepPage::BottomMarginValue]);
    if (report_.OnEndPage)
        report_.OnEndPage(report_);
}

void ReportRun::EmitBand(const TRepBand* band)
{
    emitBand(band, false);
}

// Bands that belong to the page itself: never forced onto a new page or column.
bool ReportRun::isPageBand(const TRepBand& band, bool asPageFooter)
{
    using T = TRepBandType;
    return asPageFooter || band.BandType == T::rbTitle || band.BandType == T::rbPageHeader ||
           band.BandType == T::rbPageFooter || band.BandType == T::rbOverlay;
}

void ReportRun::emitBand(const TRepBand* band, bool asPageFooter)
{
    if (!band)
        return;
    if (band->AlignToBottom) {
        if (band == report_.findBand(TRepBandType::rbSummary) && !report_.Options.LastPageFooter)
            pageFooterHeight_ = 0;
        alignToBottom(*band);
    }
    bool print = band->Enabled;
    if (print && band->BeforePrint)
        band->BeforePrint(*band, print);
    if (print) {
        std::vector<Laid> layouts;
        BandScratch scratch;
        double needed = 0;
        if (band->keepTogether) {
            layouts = layoutBand(*band, scratch);
            needed = stretchOf(*band, layouts);
        }
        placeBand(*band, asPageFooter, needed);
        std::vector<Pending> pending;
        const double stretch = drawBand(*band, pending, band->keepTogether ? &layouts : nullptr);
        currentY_ += band->Values[TRepBand::HeightValue] + stretch;
        continuePending(pending);
    }
    if (band->AfterPrint)
        band->AfterPrint(*band, print);
    if (band->ChildBand && band->ChildBand != band)
        emitBand(band->ChildBand, asPageFooter || band->BandType == TRepBandType::rbPageFooter);
}

void ReportRun::alignToBottom(const TRepBand& band)
{
    const auto& v = page_;
    const double limit =
        pageHeightOnPaper() - v[TRepPage::BottomMarginValue] - band.Values[TRepBand::HeightValue] - pageFooterHeight_;
    if (currentY_ < limit)
        currentY_ = limit;
}

// A forced page or column, or a new one when the band, stretched as its
// texts will stretch it, does not fit.
void ReportRun::placeBand(const TRepBand& band, bool asPageFooter, double stretch)
{
    const bool pageBand = isPageBand(band, asPageFooter);
    if (band.ForceNewPage && !pageBand && pageCount_ > 0) {
        if (skipForcedPage_) {
            skipForcedPage_ = false;
        } else {
            do
                AdvanceColumn();
            while (column_ != 1);
            return;
        }
    } else if (band.ForceNewColumn && !pageBand && pageCount_ > 0) {
        AdvanceColumn();
        return;
    }
    const auto& v = page_;
    const double height = band.Values[TRepBand::HeightValue] + stretch;
    const bool footer = asPageFooter || band.BandType == TRepBandType::rbPageFooter;
    const double emptyPage = v[TRepPage::LengthValue] - (v[TRepPage::TopMarginValue] + v[TRepPage::BottomMarginValue]);
    if ((!footer && height > SpaceLeft() + Epsilon && height <= emptyPage) || pageCount_ == 0) {
        AdvanceColumn();
        // a band that belongs at the bottom stays there on the new page
        if (band.AlignToBottom)
            alignToBottom(band);
    }
}

// The control's text for the current record laid out. A control of the
// report keeps its layouts for the run, so the reference holds until the
// same control is laid out again; another (the rest of a stretched text) is
// laid out into scratch.
const TextLayout& ReportRun::layoutControl(const PrintableText& control, TextLayout& scratch)
{
    if (const TextLayout* kept = layoutOfRun(control))
        return *kept;
    ControlFonts fonts = fontsFor(control);
    layOut(control, fonts, control.Text(), scratch);
    return scratch;
}

// nullptr for a control that is not the report's.
const TextLayout* ReportRun::layoutOfRun(const PrintableText& control)
{
    const auto known = controls_.find(&control);
    return known == controls_.end() ? nullptr : &layoutOfRun(control, known->second);
}

const TextLayout& ReportRun::layoutOfRun(const PrintableText& control, ControlState& state)
{
    std::string text = state.dataText ? displayText(state.field) : control.Text();
    if (!state.keep) {
        layOut(control, state.fonts, text, state.scratch);
        return state.scratch;
    }
    if (const auto laid = state.layouts.find(text); laid != state.layouts.end()) {
        ++state.hits;
        return laid->second;
    }
    if (state.layouts.size() >= LayoutsKept) {
        state.keep = state.hits >= state.layouts.size();
        state.layouts.clear();
        state.hits = 0;
    }
    TextLayout layout;
    layOut(control, state.fonts, text, layout);
    return state.layouts.emplace(std::move(text), std::move(layout)).first->second;
}

void ReportRun::layOut(const PrintableText& control, const ControlFonts& fonts, const std::string& text,
                       TextLayout& into)
{
    utf8ToUtf16(text, wide_);
    into.assign(wide_, fonts.font, report_.measurer(), control.Values[PrintableText::WidthValue], control.AutoSize,
                control.WordWrap);
}

// The lines and fonts of every control of the band, no lines for a disabled
// one; scratch holds what is not kept for the run.
std::vector<ReportRun::Laid> ReportRun::layoutBand(const TRepBand& band, BandScratch& scratch)
{
    static const TextLayout none;
    const auto& controls = band.controls();
    std::vector<Laid> layouts;
    layouts.reserve(controls.size());
    for (const auto& control : controls) {
        const auto known = controls_.find(control.get());
        if (known != controls_.end()) {
            ControlState& state = known->second;
            layouts.push_back({control->Enabled ? &layoutOfRun(*control, state) : &none, &state.fonts});
            continue;
        }
        TextLayout& layout = *scratch.layouts.emplace_back(std::make_unique<TextLayout>());
        const ControlFonts& fonts = *scratch.fonts.emplace_back(std::make_unique<ControlFonts>(fontsFor(*control)));
        if (control->Enabled)
            layOut(*control, fonts, control->Text(), layout);
        layouts.push_back({&layout, &fonts});
    }
    return layouts;
}

// How far the band's texts will stretch it when all their lines print.
double ReportRun::stretchOf(const TRepBand& band, const std::vector<Laid>& layouts) const
{
    const double height = band.Values[TRepBand::HeightValue];
    double stretch = 0;
    for (size_t i = 0; i < layouts.size(); ++i) {
        const PrintableText& control = *band.controls()[i];
        if (!control.Enabled)
            continue;
        const double lineHeight = layouts[i].fonts->lineHeight;
        double used = std::max(control.Values[PrintableText::HeightValue], lineHeight);
        if (control.AutoStretch)
            used = std::max(used, static_cast<double>(layouts[i].layout->lines.size()) * lineHeight);
        stretch = std::max(stretch, control.Values[PrintableText::TopValue] + used - height);
    }
    return stretch;
}

// Draws the band at the current position; returns how far its controls
// stretched it and leaves their unprinted lines in `pending`. layouts: the
// controls' lines when already laid out.
double ReportRun::drawBand(const TRepBand& band, std::vector<Pending>& pending, const std::vector<Laid>* layouts)
{
    const double height = band.Values[TRepBand::HeightValue];
    if (height == 0)
        return 0;
    const double left = currentX_, top = currentY_;
    const double right = left + band.Values[TRepBand::WidthValue];
    if (finalPass_)
        destination_.Canvas()->rectangle({destination_.XPos(left), destination_.YPos(top), destination_.XPos(right),
                                          destination_.YPos(top + height)},
                                         PagePen{.color = PageColor::black(), .width = 1, .visible = false},
                                         PageBrush{.color = band.Color, .visible = true});
    double stretch = 0;
    for (size_t i = 0; i < band.controls().size(); ++i) {
        const PrintableText* control = band.controls()[i].get();
        if (!control->Enabled)
            continue;
        Pending rest{control, {}};
        const double controlTop = control->Values[PrintableText::TopValue];
        const double used = printControl(*control, left + control->Values[PrintableText::LeftValue], top + controlTop,
                                         printingPageBands_ ? nullptr : &rest, layouts ? &(*layouts)[i] : nullptr);
        stretch = std::max(stretch, controlTop + used - height);
        if (!rest.lines.empty())
            pending.push_back(std::move(rest));
    }
    if (finalPass_ && band.Frame.any())
        drawFrame(band.Frame, left, top, right, top + height);
    return stretch;
}

// Stretched controls that ran out of room go on in the next column or page
// until every line is out.
void ReportRun::continuePending(std::vector<Pending>& pending)
{
    // Each pass prints at least one line of every control, so this ends.
    while (!pending.empty()) {
        AdvanceColumn();
        const double top = currentY_;
        double used = 0;
        std::vector<Pending> next;
        for (Pending& p : pending) {
            // the lines left over are the whole text of the control's rest
            std::u16string text;
            for (size_t i = 0; i < p.lines.size(); ++i)
                text += (i ? u"\r" : u"") + p.lines[i];
            TRepLabel carry(p.control->Name);
            carry.Caption = utf16ToUtf8(text);
            carry.Values = p.control->Values;
            carry.Alignment = p.control->Alignment;
            carry.AutoSize = true;
            carry.AutoStretch = true;
            carry.Transparent = p.control->Transparent;
            carry.Color = p.control->Color;
            carry.Frame = p.control->Frame;
            carry.FontSize = p.control->FontSize;
            Pending rest{p.control, {}};
            used = std::max(used,
                            printControl(carry, currentX_ + p.control->Values[PrintableText::LeftValue], top, &rest));
            if (!rest.lines.empty())
                next.push_back(std::move(rest));
        }
        currentY_ = top + used;
        pending = std::move(next);
    }
}

ReportRun::ControlFonts ReportRun::fontsFor(const PrintableText& control) const
{
    ControlFonts fonts;
    fonts.font = controlFont(control);
    fonts.lineHeight = report_.measurer().lineHeight(fonts.font);
    fonts.device = pageFont(fonts.font, destination_);
    return fonts;
}

const ReportRun::ControlFonts& ReportRun::fontsOf(const PrintableText& control, ControlFonts& scratch) const
{
    if (const auto known = controls_.find(&control); known != controls_.end())
        return known->second.fonts;
    scratch = fontsFor(control);
    return scratch;
}

const std::vector<std::int32_t>& ReportRun::placedAdvances(const TextLayout& layout, size_t line, double x) const
{
    if (layout.placedAt.size() != layout.lines.size()) {
        layout.placedAt.assign(layout.lines.size(), std::nan(""));
        layout.placedAdvances.resize(layout.lines.size());
    }
    if (layout.placedAt[line] != x) {
        deviceAdvances(layout.advances[line], x, destination_, layout.placedAdvances[line]);
        layout.placedAt[line] = x;
    }
    return layout.placedAdvances[line];
}

ReportFont ReportRun::controlFont(const PrintableText& control) const
{
    ReportFont font = report_.Font;
    if (control.FontSize > 0)
        font.Size = control.FontSize;
    return font;
}

void ReportRun::drawFrame(const TRepFrame& frame, double left, double top, double right, double bottom)
{
    PageCanvas* canvas = destination_.Canvas();
    const PagePen pen{frame.Color, frame.Width, true};
    const std::int32_t l = destination_.XPos(left), t = destination_.YPos(top);
    const std::int32_t r = destination_.XPos(right), b = destination_.YPos(bottom);
    if (frame.DrawTop)
        canvas->polyline({{l, t}, {r, t}}, pen);
    if (frame.DrawBottom)
        canvas->polyline({{l, b}, {r, b}}, pen);
    if (frame.DrawLeft)
        canvas->polyline({{l, t}, {l, b}}, pen);
    if (frame.DrawRight)
        canvas->polyline({{r, t}, {r, b}}, pen);
}

// Places one text control with its top-left corner at (x, y). Returns the
// height it took; lines that did not fit a stretching control go to `pending`.
double ReportRun::printControl(const PrintableText& control, double x, double y, Pending* pending, const Laid* laid)
{
    if (laid)
        return printLaid(control, x, y, pending, *laid->layout, *laid->fonts);
    ControlFonts scratchFonts;
    TextLayout scratch;
    const ControlFonts& fonts = fontsOf(control, scratchFonts);
    return printLaid(control, x, y, pending, layoutControl(control, scratch), fonts);
}

double ReportRun::printLaid(const PrintableText& control, double x, double y, Pending* pending,
                            const TextLayout& layout, const ControlFonts& fonts)
{
    const double lineHeight = fonts.lineHeight;
    double width = control.Values[PrintableText::WidthValue];
    double left = x;
    if (control.AutoSize) {
        const double edges = ((control.Frame.DrawLeft ? 1 : 0) + (control.Frame.DrawRight ? 1 : 0)) *
                             control.Frame.Width / destination_.XFactor();
        const double fitted = layout.widest + edges;
        if (control.Alignment == TRepAlignment::taRightJustify)
            left = x + width - fitted;
        else if (control.Alignment == TRepAlignment::taCenter)
            left = x + (width - fitted) / 2;
        width = fitted;
    }
    double height = std::max(control.Values[PrintableText::HeightValue], lineHeight);
    size_t shown;
    if (control.AutoStretch) {
        const auto& v = page_;
        const double bottom = pageHeightOnPaper() - v[TRepPage::BottomMarginValue] - pageFooterHeight_;
        // one line always shows, whatever the room
        const auto room = layout.lines.size() <= 1
                              ? 1
                              : static_cast<size_t>(std::max(0.0, std::floor((bottom - y) / lineHeight + Epsilon)));
        shown = std::min(layout.lines.size(), std::max<size_t>(room, 1));
        if (pending && shown < layout.lines.size())
            pending->lines.assign(layout.lines.begin() + static_cast<long>(shown), layout.lines.end());
        else if (!pending)
            shown = layout.lines.size();
        height = std::max(height, static_cast<double>(shown) * lineHeight);
    } else {
        const auto fit = static_cast<size_t>(std::floor(height / lineHeight + Epsilon));
        shown = std::min(layout.lines.size(), std::max<size_t>(fit, 1));
    }
    PageCanvas* canvas = destination_.Canvas();
    const double right = left + width, bottom = y + height;
    if (finalPass_ && !control.Transparent)
        canvas->rectangle(
            {destination_.XPos(left), destination_.YPos(y), destination_.XPos(right), destination_.YPos(bottom)},
            PagePen{.color = PageColor::black(), .width = 1, .visible = false},
            PageBrush{.color = control.Color, .visible = true});
    if (finalPass_ && control.Frame.any())
        drawFrame(control.Frame, left, y, right, bottom);
    for (size_t i = 0; i < shown; ++i) {
        const std::u16string& line = layout.lines[i];
        if (line.empty())
            continue;
        const double lineWidth = layout.widths[i];
        double lx = left;
        if (control.Alignment == TRepAlignment::taRightJustify)
            lx = right - lineWidth;
        else if (control.Alignment == TRepAlignment::taCenter)
            lx = left + (width - lineWidth) / 2;
        PageText& text = text_;  // its buffers serve every text of the run
        text.origin = {destination_.XPos(lx), destination_.YPos(y + static_cast<double>(i) * lineHeight)};
        text.chars.assign(line);
        const std::vector<std::int32_t>& placed = placedAdvances(layout, i, lx);
        text.advances.assign(placed.begin(), placed.end());
        text.color = fonts.font.Color;
        canvas->text(text, fonts.device);
    }
    return height;
}
