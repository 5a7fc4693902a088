#include "TForm7.h"

#include "FormControls.h"
#include "GridColumns.h"
#include "TableFields.h"

TForm7* Form7 = nullptr;

namespace {
SearchWindowLayout transferSearch()
{
    using O = TDBGridOption;
    using P = SearchPart;
    using namespace fields::Mutasi;
    return {
        .table = "Tmutasi",
        .dataSource = "DSmutasi",
        .ordering = {.bounds = QRect(8, 8, 169, 105),
                     .items = {QStringLiteral("No. SKM"), QStringLiteral("NIP"), QStringLiteral("Nama Pegawai")},
                     .fields = {No_SKM, NIP, Nama_Pegawai}},
        .searchGroup = QRect(184, 8, 169, 105),
        .searchCaption = QStringLiteral("Pencarian"),
        .searchBox = QRect(24, 24, 121, 21),
        .searchMaxLength = std::nullopt,
        .searchButton = QRect(24, 64, 121, 25),
        .searchButtonFirst = false,
        .upper = {.bounds = QRect(8, 120, 345, 97),
                  .options = FormControls::rowSelectOptions(),
                  .columns = GridColumns::keys(GridColumns::transfers()),
                  .navigator = QRect(8, 224, 344, 25)},
        .lower = {.bounds = QRect(8, 256, 345, 120),
                  .options = {O::dgTitles, O::dgIndicator, O::dgColumnResize, O::dgTabs, O::dgAlwaysShowSelection,
                              O::dgConfirmDelete, O::dgCancelOnExit},
                  .columns = GridColumns::afterKeys(GridColumns::transfers()),
                  .narrowColumns = {Pangkat, Jabatan, Asal, Pindah_Ke},
                  .narrowWidth = 64,
                  .navigator = QRect(8, 384, 344, 25)},
        .readOnlyGrids = true,
        .boldGrids = false,
        .closeButton = QRect(8, 416, 345, 25),
        .tabOrder = {P::orderingGroup, P::searchGroup, P::upperGrid, P::upperNavigator, P::lowerGrid, P::lowerNavigator,
                     P::closeButton},
    };
}
}  // namespace

TForm7::TForm7(TDMarsipstaf& module)
    : SearchWindow(QStringLiteral("Form7"), QStringLiteral("Form Cari Data Mutasi"), QRect(234, 94, 370, 478),
                   transferSearch(), module)
{
}
