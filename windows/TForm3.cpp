#include "TForm3.h"

#include "GridColumns.h"
#include "MessageBoxes.h"
#include "TDBGrid.h"
#include "TForm2.h"
#include "TForm7.h"
#include "TableFields.h"

TForm3* Form3 = nullptr;

const QString TForm3::reminderText = QStringLiteral("jangan lupa hapus data pegawai ...!");

namespace {
using namespace fields;

RecordWindowLayout transferLayout()
{
    return {
        .table = "Tmutasi",
        .dataSource = "DSmutasi",
        .left = {.name = "Panel1",
                 .bounds = QRect(8, 8, 361, 209),
                 .rows = {{.label = "Nomor SKM", .control = "DBEdit1", .field = Mutasi::No_SKM, .limitToField = true},
                          {.label = "NIP", .control = "DBEdit2", .field = Mutasi::NIP, .limitToField = true},
                          {.label = "Nama Pegawai", .control = "DBEdit3", .field = Mutasi::Nama_Pegawai},
                          {.label = "Golongan",
                           .control = "DBLookupComboBox1",
                           .field = Mutasi::Kd_Golongan,
                           .listSource = "DSgol",
                           .keyField = Golongan::Kd_Gol,
                           .listField = Golongan::Golongan},
                          {.label = "Pangkat",
                           .control = "DBLookupComboBox2",
                           .field = Mutasi::Kd_Pangkat,
                           .listSource = "DSpangkat",
                           .keyField = Pangkat::Kd_Pangkat,
                           .listField = Pangkat::Pangkat},
                          {.label = "Jabatan",
                           .control = "DBLookupComboBox3",
                           .field = Mutasi::Kd_Jabatan,
                           .listSource = "DSjab",
                           .keyField = Jabatan::Kd_Jabatan,
                           .listField = Jabatan::Jabatan}}},
        .right = {.name = "Panel2",
                  .bounds = QRect(373, 8, 345, 113),
                  .rows = {{.label = "Asal", .control = "DBEdit4", .field = Mutasi::Asal},
                           {.label = "Pindah Ke ", .control = "DBEdit5", .field = Mutasi::Pindah_Ke},
                           {.label = "TMT", .control = "DBEdit6", .field = Mutasi::TMT, .limitToField = true}}},
        .entriesEnabledAtStart = false,
        .ordering = {.bounds = QRect(376, 128, 177, 89),
                     .items = {QStringLiteral("Nomor SKM"), QStringLiteral("NIP"), QStringLiteral("Nama Pegawai")},
                     .fields = {Mutasi::No_SKM, Mutasi::NIP, Mutasi::Nama_Pegawai}},
        .searchGroup = QRect(557, 128, 161, 89),
        .searchCaption = QStringLiteral("Pencarian :"),
        .searchMaxLength = 20,
        .buttonRowTop = 224,
        .buttonLeft = 8,
        .buttonStep = 106,
        .grid = QRect(8, 256, 713, 89),
        .gridOptions = std::nullopt,
        .gridColumns = GridColumns::transfers(),
        .serifGrid = false,
        .navigator = QRect(6, 352, 712, 25),
        .keyField = Mutasi::No_SKM,
    };
}
}  // namespace

TForm3::TForm3(TDMarsipstaf& module)
    : RecordWindow(QStringLiteral("Form3"), QStringLiteral("Form Data Mutasi"), QRect(37, 70, 736, 416),
                   transferLayout())
{
    DBEdit1 = entry(1);
    DBEdit2 = entry(2);
    DBEdit3 = entry(3);
    DBEdit4 = entry(4);
    DBEdit5 = entry(5);
    DBEdit6 = entry(6);
    DBLookupComboBox1 = lookupBox(1);
    DBLookupComboBox2 = lookupBox(2);
    DBLookupComboBox3 = lookupBox(3);
    bindTo(module);
}

void TForm3::afterStore()
{
    // Only the Yes button; the answer is not used.
    MessageDlg(reminderText, MessageDialogType::Warning, {MessageButton::Yes});
    Form2->Show();
    // Its grid, not an entry: a clerk typing on must not change an
    // employee's record without noticing.
    Form2->DBGrid1->setFocus();
}

void TForm3::showSearchWindow()
{
    Form7->Show();
}
