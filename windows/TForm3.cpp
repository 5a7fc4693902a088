#include "TForm3.h"

#include "MessageBoxes.h"
#include "TDBGrid.h"
#include "TForm2.h"
#include "TForm7.h"

TForm3* Form3 = nullptr;

const QString TForm3::reminderText = QStringLiteral("jangan lupa hapus data pegawai ...!");

namespace {
RecordWindowLayout transferLayout()
{
    RecordWindowLayout layout{
        "Tmutasi",
        "DSmutasi",
        {"Panel1",
         QRect(8, 8, 361, 209),
         {{"Nomor SKM", "DBEdit1", "No_SKM", 20},
          {"NIP", "DBEdit2", "NIP", 11},
          {"Nama Pegawai", "DBEdit3", "Nama_Pegawai", 0},
          {"Golongan", "DBLookupComboBox1", "Kd_Golongan", 0, "DSgol", "Kd_Gol", "Golongan"},
          {"Pangkat", "DBLookupComboBox2", "Kd_Pangkat", 0, "DSpangkat", "Kd_Pangkat", "Pangkat"},
          {"Jabatan", "DBLookupComboBox3", "Kd_Jabatan", 0, "DSjab", "Kd_Jabatan", "Jabatan"}}},
        {"Panel2",
         QRect(373, 8, 345, 113),
         {{"Asal", "DBEdit4", "Asal", 0},
          {"Pindah Ke ", "DBEdit5", "Pindah_Ke", 0},
          {"TMT", "DBEdit6", "TMT", 8}}},
        false,
        QRect(376, 128, 177, 89),
        {QStringLiteral("Nomor SKM"), QStringLiteral("NIP"), QStringLiteral("Nama Pegawai")},
        {"No_SKM", "NIP", "Nama_Pegawai"},
        QRect(557, 128, 161, 89),
        QStringLiteral("Pencarian :"),
        20,
        224,
        8,
        106,
        QRect(8, 256, 713, 89),
        std::nullopt,
        {"No_SKM", "NIP", "Nama_Pegawai", "Golongan", "Pangkat", "Jabatan", "Asal", "Pindah_Ke", "TMT"},
        false,
        QRect(6, 352, 712, 25),
        "No_SKM"};
    return layout;
}
}

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
