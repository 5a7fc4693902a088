#include "TForm5.h"

#include "GridColumns.h"
#include "TableFields.h"

TForm5* Form5 = nullptr;

namespace {
const ListWindowLayout transferList{
    .table = "Tmutasi",
    .dataSource = "DSmutasi",
    .firstButton = QRect(8, 8, 105, 25),
    .lastButton = QRect(120, 8, 97, 25),
    .closeButton = QRect(224, 8, 105, 25),
    .grid = QRect(8, 40, 320, 120),
    .gridOptions = TDBGridOptions::defaults(),
    .gridColumns = GridColumns::transfers(),
    .readOnlyGrid = false,
    .serifTitles = false,
    .narrowColumns = {fields::Mutasi::NIP, fields::Mutasi::Nama_Pegawai, fields::Mutasi::Golongan,
                      fields::Mutasi::Pangkat, fields::Mutasi::Jabatan, fields::Mutasi::Asal,
                      fields::Mutasi::Pindah_Ke},
    .narrowWidth = 64,
    .navigator = QRect(8, 168, 320, 25),
    .navigatorBeforeButtons = true,
};
}  // namespace

TForm5::TForm5(TDMarsipstaf& module)
    : ListWindow(QStringLiteral("Form5"), QStringLiteral("Form Lihat Data Mutasi"), QRect(192, 107, 345, 231),
                 transferList, module)
{
}
