#include "ReportDefinitions.h"

#include "TRepDBText.h"
#include "TRepLabel.h"
#include "TableFields.h"

namespace {

// Positions in millimetres from the band's top-left corner, as designed.
struct LabelRow {
    const char* name;
    double left, top;
    const char* caption;
};
struct DataRow {
    const char* name;
    double left;
    CatalogueField field;
};

// Heights in whole tenths of a millimetre: positions accumulate in those.
constexpr double TitleHeight = 241;
constexpr double LineBandHeight = 106;
constexpr double SignatureHeight = 233;
constexpr double TextHeight = 45;
constexpr double TextTop = 42;
constexpr double Margin = 100;
// Between a value's widest line and the next column.
constexpr double ColumnGap = 10;

std::unique_ptr<TBandReport> landscapeReport(TDataSet* data, const char* title)
{
    auto report = std::make_unique<TBandReport>("Report1");
    report->setUnits(TRepUnits::MM);
    report->DataSet = data;
    report->Page.setPaperSize(TRepPaperSize::Legal);
    report->Page.setOrientation(TRepOrientation::poLandscape);
    report->Page.setColumns(1);
    report->Page.Values = TRepPage::stored({.width = 3556,
                                            .length = 2159,
                                            .topMargin = Margin,
                                            .bottomMargin = Margin,
                                            .leftMargin = Margin,
                                            .rightMargin = Margin,
                                            .columnSpace = 0});
    report->Options = {.FirstPageHeader = true, .LastPageFooter = true, .Compression = false};
    report->PrintIfEmpty = true;
    report->ReportTitle = title;
    report->Font = {.Name = "Arial", .Size = 10, .Bold = false, .Italic = false, .Color = PageColor::black()};
    return report;
}

TRepBand* band(TBandReport& report, const char* name, TRepBandType type, double height)
{
    auto b = std::make_unique<TRepBand>(name, type);
    const auto& page = report.Page.Values;
    b->Values[TRepBand::HeightValue] = height;
    b->Values[TRepBand::WidthValue] =
        page[TRepPage::WidthValue] - page[TRepPage::LeftMarginValue] - page[TRepPage::RightMarginValue];
    return report.addBand(std::move(b));
}

template <class Control>
void shape(Control& c, double leftMm, double topMm)
{
    c.Values[PrintableText::HeightValue] = TextHeight;
    c.Values[PrintableText::LeftValue] = leftMm * 10;
    c.Values[PrintableText::TopValue] = topMm * 10;
    c.Values[PrintableText::WidthValue] = 0;  // AutoSize fits it to the text
    c.FontSize = 10;
    c.Alignment = TRepAlignment::taLeftJustify;
    c.AutoSize = true;
    c.WordWrap = true;
    c.AutoStretch = false;
    c.Color = PageColor::white();
    c.Transparent = false;
}

void labels(TRepBand& b, std::initializer_list<LabelRow> rows)
{
    for (const LabelRow& row : rows) {
        auto label = std::make_unique<TRepLabel>(row.name);
        shape(*label, row.left, row.top);
        label->Caption = row.caption;
        b.add(std::move(label));
    }
}

// A value wider than its column would be cut by the next column's white
// background: each data text is as wide as its column, from its left edge to
// 1 mm before the next one's (the last to the band's end), and wraps onto further lines
// there; the record's band grows to hold them and moves whole to the next
// page when it does not fit.
void dataTexts(TRepBand& b, TDataSet* data, std::initializer_list<DataRow> rows)
{
    b.keepTogether = true;
    const DataRow* row = rows.begin();
    for (; row != rows.end(); ++row) {
        auto text = std::make_unique<TRepDBText>(row->name);
        shape(*text, row->left, TextTop / 10);
        const double right = row + 1 != rows.end() ? (row + 1)->left * 10 : b.Values[TRepBand::WidthValue];
        text->Values[PrintableText::WidthValue] = right - row->left * 10 - ColumnGap;
        text->AutoSize = false;
        text->AutoStretch = true;
        text->DataSet = data;
        text->DataField = row->field.name;
        b.add(std::move(text));
    }
}

void titleBand(TBandReport& report, double nameLeft, const char* reportName)
{
    TRepBand* title = band(report, "RepBand1", TRepBandType::rbTitle, TitleHeight);
    labels(*title, {{"RepLabel1", 10.6, 2.1, "ZEDUZODODU DIVIZIVOR URE VAR AZOZA VIZADOD"},
                    {"RepLabel2", 25.4, 8.5, "KANTOR WILAYAH TIRTAMAYA"},
                    {"RepLabel3", 16.9, 14.8, "BALAI PEMASYARAKATAN KELAS I SINDARA"},
                    {"RepLabel4", nameLeft, 2.1, reportName},
                    {"RepLabel5", 260.4, 8.5, "Zuvid Idoreradodadur Kelas I Sindara"}});
}

// The signature block closes the report: once, at the bottom of the last
// page (a page of its own when the last one is full).
void signatureBand(TBandReport& report)
{
    TRepBand* b = band(report, "RepBand3", TRepBandType::rbSummary, SignatureHeight);
    b->AlignToBottom = true;
    labels(*b, {{"RepLabel17", 266.7, 2.1, "Sindara, ................................ 20"},
                {"RepLabel18", 264.6, 8.5, "Zuvid Idoreradodadur Kelas I Sindara"},
                {"RepLabel19", 275.2, 12.7, "Ka. Sub. Bag. Tata Usaha"}});
}

std::unique_ptr<TBandReport> employeeReport(TDataSet* datapeg, double nameLeft, const char* reportName,
                                            double statusLeft, const char* title)
{
    auto report = landscapeReport(datapeg, title);
    titleBand(*report, nameLeft, reportName);
    TRepBand* header = band(*report, "RepBand2", TRepBandType::rbColumnHeader, LineBandHeight);
    labels(*header, {{"RepLabel6", 8.5, 4.2, "Nama Pegawai"},
                     {"RepLabel7", 42.3, 4.2, "NIP"},
                     {"RepLabel8", 61.4, 4.2, "Tempat Lahir"},
                     {"RepLabel9", 88.9, 4.2, "Tanggal Lahir"},
                     {"RepLabel10", 120.7, 4.2, "Jenis Kelamin"},
                     {"RepLabel11", 158.8, 4.2, "Agama"},
                     {"RepLabel12", 184.2, 4.2, "Kartu Pegawai"},
                     {"RepLabel13", 224.4, 4.2, "Pangkat"},
                     {"RepLabel14", 256.1, 4.2, "Gol"},
                     {"RepLabel15", 279.4, 4.2, "Pendidikan"},
                     {"RepLabel16", 317.5, 4.2, "Ket"}});
    signatureBand(*report);
    TRepBand* detail = band(*report, "RepBand4", TRepBandType::rbDetail, LineBandHeight);
    using namespace fields::Datapegawai;
    dataTexts(*detail, datapeg,
              {{"RepDBText1", 2.1, Nama_Pegawai},
               {"RepDBText2", 38.1, NIP},
               {"RepDBText3", 61.4, Tempat_Lahir},
               {"RepDBText4", 88.9, Tanggal_Lahir},
               {"RepDBText5", 120.7, JenisKelamin},
               {"RepDBText6", 156.6, Agama},
               {"RepDBText7", 186.3, Karpeg},
               {"RepDBText8", 224.4, Pangkat},
               {"RepDBText9", 258.2, Golongan},
               {"RepDBText10", 281.5, PendidikanFormal},
               {"RepDBText11", statusLeft, Status}});
    return report;
}

}  // namespace

std::unique_ptr<TBandReport> ReportDefinitions::Form9(TDataSet* datapeg)
{
    return employeeReport(datapeg, 264.6, "Laporan Daftar Urut Kepangkatan", 315.4, "Daftar Urut Kepangkatan");
}

std::unique_ptr<TBandReport> ReportDefinitions::Form10(TDataSet* datapeg)
{
    return employeeReport(datapeg, 273.1, "Laporan Bezetting", 317.5, "Bezetting");
}

std::unique_ptr<TBandReport> ReportDefinitions::Form11(TDataSet* mutasi)
{
    auto report = landscapeReport(mutasi, "Mutasi");
    titleBand(*report, 279.4, "Laporan Mutasi");
    signatureBand(*report);
    TRepBand* header = band(*report, "RepBand2", TRepBandType::rbColumnHeader, LineBandHeight);
    labels(*header, {{"RepLabel6", 8.5, 4.2, "Nomor SKM"},
                     {"RepLabel7", 52.9, 4.2, "NIP"},
                     {"RepLabel8", 82.5, 4.2, "Nama Pegawai"},
                     {"RepLabel9", 120.7, 4.2, "Gol"},
                     {"RepLabel10", 148.2, 4.2, "Pangkat"},
                     {"RepLabel11", 188.4, 4.2, "Jabatan"},
                     {"RepLabel12", 228.6, 4.2, "Asal"},
                     {"RepLabel13", 270.9, 4.2, "Pindah Ke"},
                     {"RepLabel14", 315.4, 4.2, "TMT"}});
    TRepBand* detail = band(*report, "RepBand4", TRepBandType::rbDetail, LineBandHeight);
    using namespace fields::Mutasi;
    dataTexts(*detail, mutasi,
              {{"RepDBText1", 8.5, No_SKM},
               {"RepDBText2", 52.9, NIP},
               {"RepDBText3", 82.5, Nama_Pegawai},
               {"RepDBText4", 116.4, Golongan},
               {"RepDBText5", 148.2, Pangkat},
               {"RepDBText6", 188.4, Jabatan},
               {"RepDBText7", 228.6, Asal},
               {"RepDBText8", 270.9, Pindah_Ke},
               {"RepDBText9", 315.4, TMT}});
    return report;
}

std::unique_ptr<TBandReport> ReportDefinitions::Form8()
{
    auto report = std::make_unique<TBandReport>("Report1");
    report->setUnits(TRepUnits::MM);
    report->Page.setPaperSize(TRepPaperSize::A4);
    report->Page.setOrientation(TRepOrientation::poPortrait);
    report->Page.Values = TRepPage::stored({.width = 2100,
                                            .length = 2970,
                                            .topMargin = Margin,
                                            .bottomMargin = Margin,
                                            .leftMargin = Margin,
                                            .rightMargin = Margin,
                                            .columnSpace = 0});
    TRepBand* title = band(*report, "RepBand1", TRepBandType::rbTitle, 106);
    labels(*title, {{"RepLabel1", 4.2, 2.1, "asdsdsa"}});
    return report;
}
