#include <gtest/gtest.h>

#include <sstream>

#include "ReportDefinitions.h"
#include "ReportTestData.h"
#include "TRepDBText.h"
#include "TRepLabel.h"

// A run reads its report and never writes into it: the whole definition,
// written out before a run, reads the same after it and after a second one.

namespace {

std::ostream& operator<<(std::ostream& os, const PageColor& c)
{
    return os << int(c.r) << ',' << int(c.g) << ',' << int(c.b);
}

std::ostream& operator<<(std::ostream& os, const TRepFrame& f)
{
    return os << "frame " << f.DrawTop << f.DrawBottom << f.DrawLeft << f.DrawRight << ' ' << f.Color << ' ' << f.Width;
}

template <std::size_t N>
void values(std::ostream& os, const std::array<double, N>& v)
{
    for (double x : v)
        os << ' ' << x;
}

void dumpControl(std::ostream& os, const PrintableText& c)
{
    os << "  control " << c.Name << " units " << int(c.Units) << " values";
    values(os, c.Values);
    os << " in units " << c.Height() << ' ' << c.Left() << ' ' << c.Top() << ' ' << c.Width() << " align "
       << int(c.Alignment) << " flags " << c.AutoSize << c.AutoStretch << c.WordWrap << c.Transparent << c.Enabled
       << " colour " << c.Color << ' ' << c.Frame << " font " << c.FontSize;
    if (const auto* label = dynamic_cast<const TRepLabel*>(&c))
        os << " caption [" << label->Caption << ']';
    if (const auto* text = dynamic_cast<const TRepDBText*>(&c))
        os << " field " << text->DataSet << ' ' << text->DataField << " mask [" << text->Mask << ']';
    os << '\n';
}

std::string dump(const TBandReport& r)
{
    std::ostringstream os;
    os << "report " << r.Name << " data " << r.DataSet << " units " << int(r.Units()) << " zoom " << r.Zoom()
       << " available " << r.Available() << '\n';
    const TRepPage& p = r.Page;
    os << "page " << int(p.PaperSize()) << ' ' << int(p.Orientation()) << " columns " << p.Columns() << " units "
       << int(p.Units) << " values";
    values(os, p.Values);
    os << " in units " << p.TopMargin() << ' ' << p.BottomMargin() << ' ' << p.LeftMargin() << ' ' << p.RightMargin()
       << ' ' << p.Width() << ' ' << p.Length() << '\n';
    const TRepPrinterSettings& s = r.PrinterSettings;
    os << "printer " << s.PrinterIndex << ' ' << s.Copies << ' ' << s.Duplex << ' ' << s.FirstPage << ' ' << s.LastPage
       << ' ' << int(s.OutputBin) << '\n';
    os << "options " << r.Options.FirstPageHeader << r.Options.LastPageFooter << r.Options.Compression << " empty "
       << r.PrintIfEmpty << " progress " << r.ShowProgress << " tag " << r.Tag << '\n';
    os << "font " << r.Font.Name << ' ' << r.Font.Size << ' ' << r.Font.Bold << r.Font.Italic << ' ' << r.Font.Color
       << " title [" << r.ReportTitle << "] " << r.Frame << '\n';
    for (const auto& [name, value] : r.Functions)
        os << "function " << name << '=' << value << '\n';
    for (const auto& b : r.bands()) {
        os << "band " << b->Name << ' ' << int(b->BandType) << " units " << int(b->Units) << " values";
        values(os, b->Values);
        os << " in units " << b->Height() << ' ' << b->Width() << " flags " << b->AlignToBottom << b->ForceNewPage
           << b->ForceNewColumn << b->Enabled << b->keepTogether << " colour " << b->Color << ' ' << b->Frame
           << " child " << (b->ChildBand ? b->ChildBand->Name : "-") << '\n';
        for (const auto& c : b->controls())
            dumpControl(os, *c);
    }
    for (const auto& c : r.controls())
        dumpControl(os, *c);
    return os.str();
}

struct RunCase {
    const char* name;
    std::unique_ptr<TBandReport> (*make)(TDataSet*);
    bool transfers;
};

class DefinitionUnchangedByRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(DefinitionUnchangedByRun, TwoRunsLeaveEveryBandControlValueAndOptionAsDefined)
{
    ReportTestData data;
    data.addEmployees(40);
    data.addTransfers(40);
    auto report = GetParam().make(GetParam().transfers ? static_cast<TDataSet*>(&data.module.Tmutasi)
                                                       : static_cast<TDataSet*>(&data.module.Tdatapeg));
    const std::string before = dump(*report);
    for (int run = 1; run <= 2; ++run) {
        TRepPrinter destination;
        ASSERT_TRUE(report->RunReport(destination));
        EXPECT_EQ(destination.PageCount(), 3);
        EXPECT_EQ(dump(*report), before) << "after run " << run;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reports, DefinitionUnchangedByRun,
    ::testing::Values(RunCase{.name = "Form9", .make = ReportDefinitions::Form9, .transfers = false},
                      RunCase{.name = "Form10", .make = ReportDefinitions::Form10, .transfers = false},
                      RunCase{.name = "Form11", .make = ReportDefinitions::Form11, .transfers = true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
