#include "TForm6.h"

#include "DMarsipstaf.h"
#include "FormControls.h"
#include "HandlerGuard.h"
#include "TDBGrid.h"
#include "MessageBoxes.h"
#include "TDBNavigator.h"
#include "TGroupBox.h"
#include "TRadioGroup.h"
#include "WindowFonts.h"

#include <QLineEdit>
#include <QPushButton>

TForm6* Form6 = nullptr;

TForm6::TForm6()
    : TForm(QStringLiteral("Form6"), QString::fromUtf8("Form Cari Data Pegawai"), QRect(274, 78, 347, 478), WindowFonts::sansSerif(11))
{
    TDataSource* source = DMarsipstaf ? &DMarsipstaf->DSdatapeg : nullptr;

    // Created in tab order: the focus chain follows creation.
    DBGrid1 = FormControls::grid(this, "DBGrid1", source, QRect(8, 104, 321, 120), FormControls::rowSelectOptions(),
                                 {"NIP", "Karpeg", "Nama_Pegawai"});
    DBGrid2 = FormControls::grid(this, "DBGrid2", source, QRect(8, 264, 320, 120), FormControls::rowSelectOptions(),
                                 {"Tempat_Lahir", "Tanggal_Lahir", "Jenis Kelamin", "Agama", "Alamat", "Pangkat",
                                  "Golongan", "Jabatan", "Pendidikan Formal", "Pendidikan_Diklat", "Status"});
    for (TDBGrid* grid : {DBGrid1, DBGrid2}) {
        grid->setFont(WindowFonts::timesNewRoman(13, true));
        FormControls::serifTitles(grid);
    }
    DBNavigator1 = FormControls::movementNavigator(this, "DBNavigator1", source, QRect(8, 232, 320, 25));
    DBNavigator2 = FormControls::movementNavigator(this, "DBNavigator2", source, QRect(8, 392, 320, 25));

    RadioGroup1 = new TRadioGroup(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setTitle(QString::fromUtf8("Pengurutan Berdasarkan :"));
    RadioGroup1->setGeometry(8, 16, 153, 81);
    RadioGroup1->SetItems({QString::fromUtf8("NIP"), QString::fromUtf8("Kartu Pegawai"), QString::fromUtf8("Nama Pegawai")});

    GroupBox1 = new TGroupBox(QString::fromUtf8("Pencarian :"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(168, 16, 161, 81);
    Button2 = FormControls::button(GroupBox1, "Button2", "Cari", QRect(40, 48, 75, 25));
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(24, 16, 121, 21);
    Edit1->setMaxLength(10);

    Button1 = FormControls::button(this, "Button1", "Tutup", QRect(8, 421, 321, 25));

    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
    connect(Button2, &QPushButton::clicked, this, guard(this, &TForm6::Button2Click));
    connect(Button1, &QPushButton::clicked, this, guard(this, &TForm6::Button1Click));
}

void TForm6::RadioGroup1Click()
{
    switch (RadioGroup1->ItemIndex()) {
    case 0:
        DMarsipstaf->Tdatapeg.SetIndexFieldNames("NIP");
        break;
    case 1:
        DMarsipstaf->Tdatapeg.SetIndexFieldNames("Karpeg");
        break;
    default:
        DMarsipstaf->Tdatapeg.SetIndexFieldNames("Nama_Pegawai");
        break;
    }
}

void TForm6::Button2Click()
{
    if (!DMarsipstaf->Tdatapeg.FindKey({Edit1->text().toStdString()}))
        ShowMessage(QString::fromUtf8("Data Tidak Ada "));
    Edit1->clear();
    Edit1->setFocus();
}

void TForm6::Button1Click()
{
    Close();
}
