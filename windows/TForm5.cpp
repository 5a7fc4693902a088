#include "TForm5.h"

#include "DMarsipstaf.h"
#include "FormControls.h"
#include "HandlerGuard.h"
#include "ListExport.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "WindowFonts.h"

#include <QPushButton>

TForm5* Form5 = nullptr;

TForm5::TForm5()
    : TForm(QStringLiteral("Form5"), QString::fromUtf8("Form Lihat Data Mutasi"), QRect(192, 107, 345, 231), WindowFonts::sansSerif(11))
{
    TDataSource* source = DMarsipstaf ? &DMarsipstaf->DSmutasi : nullptr;
    // Created in tab order: the focus chain follows creation.
    DBGrid1 = FormControls::grid(this, "DBGrid1", source, QRect(8, 40, 320, 120), TDBGridOptions::defaults(),
                                 {"No_SKM", "NIP", "Nama_Pegawai", "Golongan", "Pangkat", "Jabatan", "Asal",
                                  "Pindah_Ke", "TMT"});
    FormControls::fixWidths(DBGrid1, {"NIP", "Nama_Pegawai", "Golongan", "Pangkat", "Jabatan", "Asal", "Pindah_Ke"},
                            64);
    DBNavigator1 = FormControls::movementNavigator(this, "DBNavigator1", source, QRect(8, 168, 320, 25));
    Button1 = FormControls::button(this, "Button1", "Pertama", QRect(8, 8, 105, 25));
    Button2 = FormControls::button(this, "Button2", "Terakhir", QRect(120, 8, 97, 25));
    Button3 = FormControls::button(this, "Button3", "Tutup", QRect(224, 8, 105, 25));

    Export = new ListExport(this, DBGrid1, DMarsipstaf ? &DMarsipstaf->Tmutasi : nullptr);

    connect(Button1, &QPushButton::clicked, this, guard(this, &TForm5::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guard(this, &TForm5::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guard(this, &TForm5::Button3Click));
}

void TForm5::Button1Click()
{
    DMarsipstaf->Tmutasi.First();
}

void TForm5::Button2Click()
{
    DMarsipstaf->Tmutasi.Last();
}

void TForm5::Button3Click()
{
    Close();
}
