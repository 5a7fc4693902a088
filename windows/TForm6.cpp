#include "TForm6.h"

#include "FormControls.h"
#include "GridColumns.h"
#include "TableFields.h"

TForm6* Form6 = nullptr;

namespace {
SearchWindowLayout employeeSearch()
{
    using P = SearchPart;
    return {
        .table = "Tdatapeg",
        .dataSource = "DSdatapeg",
        .ordering = {.bounds = QRect(8, 16, 153, 81),
                     .items = {QStringLiteral("NIP"), QStringLiteral("Kartu Pegawai"), QStringLiteral("Nama Pegawai")},
                     .fields = {fields::Datapegawai::NIP, fields::Datapegawai::Karpeg,
                                fields::Datapegawai::Nama_Pegawai}},
        .searchGroup = QRect(168, 16, 161, 81),
        .searchCaption = QStringLiteral("Pencarian :"),
        .searchBox = QRect(24, 16, 121, 21),
        .searchMaxLength = 10,
        .searchButton = QRect(40, 48, 75, 25),
        .searchButtonFirst = true,
        .upper = {.bounds = QRect(8, 104, 321, 120),
                  .options = FormControls::rowSelectOptions(),
                  .columns = GridColumns::keys(GridColumns::employees()),
                  .navigator = QRect(8, 232, 320, 25)},
        .lower = {.bounds = QRect(8, 264, 320, 120),
                  .options = FormControls::rowSelectOptions(),
                  .columns = GridColumns::afterKeys(GridColumns::employees()),
                  .navigator = QRect(8, 392, 320, 25)},
        .readOnlyGrids = false,
        .boldGrids = true,
        .closeButton = QRect(8, 421, 321, 25),
        .tabOrder = {P::upperGrid, P::lowerGrid, P::upperNavigator, P::lowerNavigator, P::orderingGroup, P::searchGroup,
                     P::closeButton},
    };
}
}  // namespace

TForm6::TForm6(TDMarsipstaf& module)
    : SearchWindow(QStringLiteral("Form6"), QStringLiteral("Form Cari Data Pegawai"), QRect(274, 78, 347, 478),
                   employeeSearch(), module)
{
}
