#include "TForm4.h"

#include "GridColumns.h"

TForm4* Form4 = nullptr;

namespace {
using O = TDBGridOption;

const ListWindowLayout employeeList{
    .table = "Tdatapeg",
    .dataSource = "DSdatapeg",
    .firstButton = QRect(8, 8, 97, 25),
    .lastButton = QRect(112, 8, 115, 25),
    .closeButton = QRect(232, 8, 99, 25),
    .grid = QRect(8, 40, 328, 113),
    .gridOptions = {O::dgEditing, O::dgTitles, O::dgIndicator, O::dgColumnResize, O::dgTabs, O::dgConfirmDelete,
                    O::dgCancelOnExit},
    .gridColumns = GridColumns::employees(),
    .readOnlyGrid = true,
    .serifTitles = true,
    .navigator = QRect(8, 160, 328, 25),
    .navigatorBeforeButtons = false,
};
}  // namespace

TForm4::TForm4(TDMarsipstaf& module)
    : ListWindow(QStringLiteral("Form4"), QStringLiteral("Form Lihat Data Pegawai"), QRect(232, 126, 351, 224),
                 employeeList, module)
{
}
