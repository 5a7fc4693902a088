#include "TForm4.h"

#include "DMarsipstaf.h"
#include "FormControls.h"
#include "HandlerGuard.h"
#include "ListExport.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "WindowFonts.h"

#include <QPushButton>

TForm4* Form4 = nullptr;

TForm4::TForm4()
    : TForm(QStringLiteral("Form4"), QString::fromUtf8("Form Lihat Data Pegawai"), QRect(232, 126, 351, 224), WindowFonts::sansSerif(11))
{
    TDataSource* source = DMarsipstaf ? &DMarsipstaf->DSdatapeg : nullptr;
    // Created in tab order: the focus chain follows creation.
    using O = TDBGridOption;
    DBGrid1 = FormControls::grid(this, "DBGrid1", source, QRect(8, 40, 328, 113),
                                 {O::dgEditing, O::dgTitles, O::dgIndicator, O::dgColumnResize, O::dgTabs,
                                  O::dgConfirmDelete, O::dgCancelOnExit},
                                 {"NIP", "Karpeg", "Nama_Pegawai", "Tempat_Lahir", "Tanggal_Lahir", "Jenis Kelamin",
                                  "Agama", "Alamat", "Pangkat", "Golongan", "Jabatan", "Pendidikan Formal",
                                  "Pendidikan_Diklat", "Status"});
    DBGrid1->SetReadOnly(true);
    FormControls::serifTitles(DBGrid1);
    Button1 = FormControls::button(this, "Button1", "Pertama", QRect(8, 8, 97, 25));
    Button2 = FormControls::button(this, "Button2", "Terakhir", QRect(112, 8, 115, 25));
    Button3 = FormControls::button(this, "Button3", "Tutup", QRect(232, 8, 99, 25));
    DBNavigator1 = FormControls::movementNavigator(this, "DBNavigator1", source, QRect(8, 160, 328, 25));

    Export = new ListExport(this, DBGrid1, DMarsipstaf ? &DMarsipstaf->Tdatapeg : nullptr);

    connect(Button1, &QPushButton::clicked, this, guard(this, &TForm4::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guard(this, &TForm4::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guard(this, &TForm4::Button3Click));
}

void TForm4::Button1Click()
{
    DMarsipstaf->Tdatapeg.First();
}

void TForm4::Button2Click()
{
    DMarsipstaf->Tdatapeg.Last();
}

void TForm4::Button3Click()
{
    Close();
}
