// The run of a report: traversal, pagination and the drawing of bands.
#include <algorithm>
#include <cmath>

#include "TBandReport.h"
#include "TRepLabel.h"
#include "TextLayout.h"
#include "Utf16.h"

struct TBandReport::Pending {
    TRepPrintable* control;
    std::vector<std::u16string> lines;
};

namespace {

constexpr double Epsilon = 1e-6;

std::vector<std::int32_t> deviceAdvances(const std::vector<double>& advances, double x,
                                         const TRepPrinter& destination)
{
    std::vector<std::int32_t> out;
    out.reserve(advances.size());
    double at = x;
    std::int32_t previous = destination.XPos(at);
    for (double a : advances) {
        at += a;
        const std::int32_t next = destination.XPos(at);
        out.push_back(next - previous);
        previous = next;
    }
    return out;
}

}  // namespace

void TBandReport::RunReport(TRepPrinter& destination)
{
    if (!available_)
        return;
    available_ = false;
    cancelled_ = LastPage = forcedNewPage_ = forcedNewColumn_ = skipForcedPage_ = false;

    auto& v = Page.Values;
    if (v[TRepPage::WidthValue] - v[TRepPage::LeftMarginValue] - v[TRepPage::RightMarginValue] < 0)
        v[TRepPage::LeftMarginValue] = v[TRepPage::RightMarginValue] = 0;
    if (v[TRepPage::LengthValue] - v[TRepPage::TopMarginValue] - v[TRepPage::BottomMarginValue] < 0)
        v[TRepPage::TopMarginValue] = v[TRepPage::BottomMarginValue] = 0;

    bool print = true;
    if (BeforePrint)
        BeforePrint(*this, print);
    if (!print) {
        available_ = true;
        return;
    }
    const TRepUnits savedUnits = units_;
    setUnits(TRepUnits::Native);

    destination.PrinterIndex = PrinterSettings.PrinterIndex;
    destination.PaperSize = Page.PaperSize();
    destination.Orientation = Page.Orientation();
    if (Page.PaperSize() == TRepPaperSize::Custom) {
        const bool landscape = Page.Orientation() == TRepOrientation::poLandscape;
        destination.CustomWidth = landscape ? v[TRepPage::LengthValue] : v[TRepPage::WidthValue];
        destination.CustomLength = landscape ? v[TRepPage::WidthValue] : v[TRepPage::LengthValue];
    }
    destination.Copies = PrinterSettings.Copies;
    destination.OutputBin = PrinterSettings.OutputBin;
    destination.Duplex = PrinterSettings.Duplex;
    destination.FirstPage = PrinterSettings.FirstPage;
    destination.LastPage = PrinterSettings.LastPage;
    destination.Title = ReportTitle;
    destination.Compression = Options.Compression;
    try {
        destination.OpenDocument();
    } catch (...) {
        setUnits(savedUnits);
        available_ = true;
        throw;
    }
    destination_ = &destination;
    CurrentY = -1;
    PageCount = 0;
    CurrentColumn = Page.Columns();

    PageFooterHeight = 0;
    for (const auto& band : bands_) {
        if (band->BandType != TRepBandType::rbPageFooter || !band->Enabled)
            continue;
        for (const TRepBand* b = band.get(); b; b = b->ChildBand)
            if (b->Enabled)
                PageFooterHeight += b->Values[TRepBand::HeightValue];
    }
    CurrentX = v[TRepPage::LeftMarginValue];
    prepare();
    try {
        traverse();
        CurrentX = v[TRepPage::LeftMarginValue];
        LastPage = true;
        if (!cancelled_)
            ClosePage();
    } catch (...) {
        setUnits(savedUnits);
        unprepare();
        destination.FailDocument();
        destination_ = nullptr;
        available_ = true;
        throw;
    }
    setUnits(savedUnits);
    unprepare();
    if (cancelled_)
        destination.AbortDocument();
    else
        destination.FinishDocument();
    destination_ = nullptr;
    available_ = true;
}

void TBandReport::printEmptyForm()
{
    EmitBand(findBand(TRepBandType::rbTitle));
    EmitBand(findBand(TRepBandType::rbDetail));
    EmitBand(findBand(TRepBandType::rbSummary));
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
void TBandReport::traverse()
{
    TDataSet* data = DataSet;
    if (!data || !data->Active()) {
        if (PrintIfEmpty)
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
        if (PrintIfEmpty)
            printEmptyForm();
        return;
    }
    traverseRecords([&] {
        {
            ReadingRecord reading(*data, row);
            EmitBand(findBand(TRepBandType::rbDetail));
        }
        return data->ReadRecord(*reader, row);
    }, count);
    // A finished run leaves its dataset on the last record, as a run that
    // moved it would, unless the user is editing a record there meanwhile.
    if (!cancelled_ && !destination_->Cancelled() && data->State() == TDataSetState::dsBrowse)
        data->Last();
}

// A dataset with no second cursor is read by moving it.
void TBandReport::traverseMoving(TDataSet& data)
{
    data.First();
    const int count = recordCount(data);
    if (data.Eof()) {
        if (PrintIfEmpty)
            printEmptyForm();
        return;
    }
    traverseRecords([&] {
        EmitBand(findBand(TRepBandType::rbDetail));
        data.Next();
        return !data.Eof();
    }, count);
}

int TBandReport::recordCount(TDataSet& data)
{
    try {
        return data.RecordCount();
    } catch (...) {
        return 1;
    }
}

// Title, column header, one detail band per record (printRecord prints the
// record and moves on; false after the last), then the summary.
void TBandReport::traverseRecords(const std::function<bool()>& printRecord, int count)
{
    processMessages();
    if (cancelled_)
        return;
    if (TRepBand* title = findBand(TRepBandType::rbTitle)) {
        EmitBand(title);
        skipForcedPage_ = true;
    }
    TRepBand* header = findBand(TRepBandType::rbColumnHeader);
    if (PageCount <= 1 && header && header->Enabled) {
        EmitBand(header);
        skipForcedPage_ = true;
    }
    int detailNumber = 0;
    for (bool more = true; more;) {
        processMessages();
        if (cancelled_ || destination_->Cancelled())
            return;
        ++detailNumber;
        more = printRecord();
        if (count != 0)
            destination_->setProgress(detailNumber * 100 / count);
    }
    if (TRepBand* summary = findBand(TRepBandType::rbSummary)) {
        if (PageCount == 0)
            AdvanceColumn();
        EmitBand(summary);
    }
}

double TBandReport::pageHeightOnPaper() const
{
    return Page.Values[TRepPage::LengthValue];
}

double TBandReport::SpaceLeft() const
{
    if (available_ || PageCount == 0)
        return 0;
    return pageHeightOnPaper() - Page.Values[TRepPage::BottomMarginValue] - PageFooterHeight
        - CurrentY;
}

void TBandReport::AdvanceColumn()
{
    const auto& v = Page.Values;
    if (CurrentColumn >= Page.Columns()) {
        CurrentColumn = 1;
        CurrentX = v[TRepPage::LeftMarginValue];
        OpenPage();
    } else {
        const int columns = Page.Columns();
        const auto width = static_cast<long long>(v[TRepPage::WidthValue]
            - v[TRepPage::LeftMarginValue] - v[TRepPage::RightMarginValue]
            - v[TRepPage::ColumnSpaceValue] * (columns - 1)) / columns;
        CurrentX += static_cast<double>(width) + v[TRepPage::ColumnSpaceValue];
        CurrentY = ColumnTop;
        ++CurrentColumn;
    }
    Functions["COLUMNNUMBER"] = std::to_string(CurrentColumn);
    if (!(CurrentColumn == 1 && PageCount == 1))
        EmitBand(findBand(TRepBandType::rbColumnHeader));
}

void TBandReport::OpenPage()
{
    ClosePage();
    ++PageCount;
    Functions["PAGENUMBER"] = std::to_string(PageCount);
    destination_->NewPage();
    CurrentY = Page.Values[TRepPage::TopMarginValue];
    if (OnStartPage)
        OnStartPage(*this);
    TRepBand* header = findBand(TRepBandType::rbPageHeader);
    if (header && (PageCount > 1 || Options.FirstPageHeader))
        EmitBand(header);
    ColumnTop = CurrentY;
    if (PageCount == 1)
        if (TRepBand* title = findBand(TRepBandType::rbTitle))
            ColumnTop += title->Values[TRepBand::HeightValue];
}

void TBandReport::ClosePage()
{
    if (PageCount == 0)
        return;
    const auto& v = Page.Values;
    CurrentY = v[TRepPage::LengthValue] - v[TRepPage::BottomMarginValue] - PageFooterHeight;
    CurrentX = v[TRepPage::LeftMarginValue];
    if (!(LastPage && !Options.LastPageFooter))
        emitBand(findBand(TRepBandType::rbPageFooter), true);
    for (auto& control : controls_)
        if (control->Enabled)
            printControl(*control, control->Values[TRepPrintable::LeftValue],
                         control->Values[TRepPrintable::TopValue], nullptr);
    if (FinalPass && Frame.any())
        drawFrame(Frame, v[TRepPage::LeftMarginValue], v[TRepPage::TopMarginValue],
                  v[TRepPage::WidthValue] - v[TRepPage::RightMarginValue],
                  v[TRepPage::LengthValue] - v[TRepPage::BottomMarginValue]);
    if (OnEndPage)
        OnEndPage(*this);
}

void TBandReport::EmitBand(TRepBand* band)
{
    emitBand(band, false);
}

bool TBandReport::isPageBand(const TRepBand& band, bool asPageFooter) const
{
    using T = TRepBandType;
    return asPageFooter || band.BandType == T::rbTitle || band.BandType == T::rbPageHeader
        || band.BandType == T::rbPageFooter || band.BandType == T::rbOverlay;
}

void TBandReport::emitBand(TRepBand* band, bool asPageFooter)
{
    if (!band || available_)
        return;
    const auto& v = Page.Values;
    const double height = band->Values[TRepBand::HeightValue];
    auto alignToBottom = [&] {
        const double limit = pageHeightOnPaper() - v[TRepPage::BottomMarginValue] - height
            - PageFooterHeight;
        if (CurrentY < limit)
            CurrentY = limit;
    };
    if (band->AlignToBottom) {
        if (band == findBand(TRepBandType::rbSummary) && !Options.LastPageFooter)
            PageFooterHeight = 0;
        alignToBottom();
    }
    bool print = band->Enabled;
    if (print && band->BeforePrint)
        band->BeforePrint(*band, print);
    if (print) {
        const bool pageBand = isPageBand(*band, asPageFooter);
        bool makeSpace = true;
        if (band->ForceNewPage && !pageBand && PageCount > 0) {
            if (skipForcedPage_) {
                skipForcedPage_ = false;
            } else {
                makeSpace = false;
                do
                    AdvanceColumn();
                while (CurrentColumn != 1);
            }
        } else if (band->ForceNewColumn && !pageBand && PageCount > 0) {
            makeSpace = false;
            AdvanceColumn();
        }
        if (makeSpace) {
            const bool footer = asPageFooter || band->BandType == TRepBandType::rbPageFooter;
            const double emptyPage = v[TRepPage::LengthValue]
                - (v[TRepPage::TopMarginValue] + v[TRepPage::BottomMarginValue]);
            if ((!footer && height > SpaceLeft() + Epsilon && height <= emptyPage) || PageCount == 0) {
                AdvanceColumn();
                // a band that belongs at the bottom stays there on the new page
                if (band->AlignToBottom)
                    alignToBottom();
            }
        }
        double stretch = 0;
        std::vector<Pending> pending;
        if (height != 0) {
            const double left = CurrentX, top = CurrentY;
            const double right = left + band->Values[TRepBand::WidthValue];
            if (FinalPass)
                destination_->Canvas()->rectangle(
                    {destination_->XPos(left), destination_->YPos(top), destination_->XPos(right),
                     destination_->YPos(top + height)},
                    PagePen{PageColor::black(), 1, false}, PageBrush{band->Color, true});
            for (const auto& control : band->controls()) {
                if (!control->Enabled)
                    continue;
                Pending rest{control.get(), {}};
                const double top0 = control->Values[TRepPrintable::TopValue];
                const double used = printControl(*control, left + control->Values[TRepPrintable::LeftValue],
                                                 top + top0, &rest);
                stretch = std::max(stretch, top0 + used - height);
                if (!rest.lines.empty())
                    pending.push_back(std::move(rest));
            }
            if (FinalPass && band->Frame.any())
                drawFrame(band->Frame, left, top, right, top + height);
        }
        CurrentY += height + stretch;
        continuePending(pending);
    }
    if (band->AfterPrint)
        band->AfterPrint(*band, print);
    if (band->ChildBand && band->ChildBand != band)
        emitBand(band->ChildBand, asPageFooter || band->BandType == TRepBandType::rbPageFooter);
}

// Stretched controls that ran out of room go on in the next column or page
// until every line is out.
void TBandReport::continuePending(std::vector<Pending>& pending)
{
    // Each pass prints at least one line of every control, so this ends.
    while (!pending.empty()) {
        AdvanceColumn();
        const double top = CurrentY;
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
            used = std::max(used, printControl(carry, CurrentX + p.control->Values[TRepPrintable::LeftValue],
                                               top, &rest));
            if (!rest.lines.empty())
                next.push_back(std::move(rest));
        }
        CurrentY = top + used;
        pending = std::move(next);
    }
}

ReportFont TBandReport::controlFont(const TRepPrintable& control) const
{
    ReportFont font = Font;
    if (control.FontSize > 0)
        font.Size = control.FontSize;
    return font;
}

PageFont TBandReport::pageFont(const ReportFont& font) const
{
    PageFont f;
    f.family = font.Name;
    f.height = destination_->FontPixels(font.Size);
    f.weight = font.Bold ? 700 : 400;
    f.italic = font.Italic;
    return f;
}

void TBandReport::drawFrame(const TRepFrame& frame, double left, double top, double right,
                            double bottom)
{
    PageCanvas* canvas = destination_->Canvas();
    const PagePen pen{frame.Color, frame.Width, true};
    const std::int32_t l = destination_->XPos(left), t = destination_->YPos(top);
    const std::int32_t r = destination_->XPos(right), b = destination_->YPos(bottom);
    if (frame.DrawTop) canvas->polyline({{l, t}, {r, t}}, pen);
    if (frame.DrawBottom) canvas->polyline({{l, b}, {r, b}}, pen);
    if (frame.DrawLeft) canvas->polyline({{l, t}, {l, b}}, pen);
    if (frame.DrawRight) canvas->polyline({{r, t}, {r, b}}, pen);
}

// Places one text control with its top-left corner at (x, y). Returns the
// height it took; lines that did not fit a stretching control go to `pending`.
double TBandReport::printControl(TRepPrintable& control, double x, double y, Pending* pending)
{
    const ReportFont font = controlFont(control);
    const TextMeasurer& m = measurer();
    const double lineHeight = m.lineHeight(font);
    double width = control.Values[TRepPrintable::WidthValue];
    const TextLayout layout = TextLayout::make(utf8ToUtf16(control.Text()), font, m, width,
                                               control.AutoSize, control.WordWrap);
    double left = x;
    if (control.AutoSize) {
        const double edges = ((control.Frame.DrawLeft ? 1 : 0) + (control.Frame.DrawRight ? 1 : 0))
            * control.Frame.Width / destination_->XFactor();
        const double fitted = layout.widest + edges;
        if (control.Alignment == TRepAlignment::taRightJustify)
            left = x + width - fitted;
        else if (control.Alignment == TRepAlignment::taCenter)
            left = x + (width - fitted) / 2;
        width = fitted;
    }
    double height = std::max(control.Values[TRepPrintable::HeightValue], lineHeight);
    size_t shown;
    if (control.AutoStretch) {
        const auto& v = Page.Values;
        const double bottom = pageHeightOnPaper() - v[TRepPage::BottomMarginValue] - PageFooterHeight;
        const auto room = static_cast<size_t>(std::max(0.0, std::floor((bottom - y) / lineHeight + Epsilon)));
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
    PageCanvas* canvas = destination_->Canvas();
    const double right = left + width, bottom = y + height;
    if (FinalPass && !control.Transparent)
        canvas->rectangle({destination_->XPos(left), destination_->YPos(y), destination_->XPos(right),
                           destination_->YPos(bottom)},
                          PagePen{PageColor::black(), 1, false}, PageBrush{control.Color, true});
    if (FinalPass && control.Frame.any())
        drawFrame(control.Frame, left, y, right, bottom);
    const PageFont deviceFont = pageFont(font);
    for (size_t i = 0; i < shown; ++i) {
        const std::u16string& line = layout.lines[i];
        if (line.empty())
            continue;
        const std::vector<double> advances = m.advances(font, line);
        double lineWidth = 0;
        for (double a : advances)
            lineWidth += a;
        double lx = left;
        if (control.Alignment == TRepAlignment::taRightJustify)
            lx = right - lineWidth;
        else if (control.Alignment == TRepAlignment::taCenter)
            lx = left + (width - lineWidth) / 2;
        PageText text;
        text.origin = {destination_->XPos(lx), destination_->YPos(y + static_cast<double>(i) * lineHeight)};
        text.chars = line;
        text.advances = deviceAdvances(advances, lx, *destination_);
        text.color = font.Color;
        canvas->text(text, deviceFont);
    }
    return height;
}
