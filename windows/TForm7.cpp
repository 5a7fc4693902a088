#include "TForm7.h"

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

TForm7* Form7 = nullptr;

TForm7::TForm7()
    : TForm(QStringLiteral("Form7"), QString::fromUtf8("Form Cari Data Mutasi"), QRect(234, 94, 370, 478), WindowFonts::sansSerif(11))
{
    TDataSource* source = DMarsipstaf ? &DMarsipstaf->DSmutasi : nullptr;

    // Created in tab order: the focus chain follows creation.
    RadioGroup1 = new TRadioGroup(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setTitle(QString::fromUtf8("Pengurutan Berdasarkan :"));
    RadioGroup1->setGeometry(8, 8, 169, 105);
    RadioGroup1->SetItems({QString::fromUtf8("No. SKM"), QString::fromUtf8("NIP"), QString::fromUtf8("Nama Pegawai")});

    GroupBox1 = new TGroupBox(QString::fromUtf8("Pencarian"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(184, 8, 169, 105);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(24, 24, 121, 21);
    Button2 = FormControls::button(GroupBox1, "Button2", "Cari", QRect(24, 64, 121, 25));

    using O = TDBGridOption;
    DBGrid1 = FormControls::grid(this, "DBGrid1", source, QRect(8, 120, 345, 97), FormControls::rowSelectOptions(),
                                 {"No_SKM", "NIP", "Nama_Pegawai"});
    DBNavigator1 = FormControls::movementNavigator(this, "DBNavigator1", source, QRect(8, 224, 344, 25));
    DBGrid2 = FormControls::grid(this, "DBGrid2", source, QRect(8, 256, 345, 120),
                                 {O::dgTitles, O::dgIndicator, O::dgColumnResize, O::dgTabs, O::dgAlwaysShowSelection,
                                  O::dgConfirmDelete, O::dgCancelOnExit},
                                 {"Golongan", "Pangkat", "Jabatan", "Asal", "Pindah_Ke", "TMT"});
    FormControls::fixWidths(DBGrid2, {"Pangkat", "Jabatan", "Asal", "Pindah_Ke"}, 64);
    for (TDBGrid* grid : {DBGrid1, DBGrid2}) {
        grid->SetReadOnly(true);
        grid->setFont(WindowFonts::timesNewRoman(13));
        FormControls::serifTitles(grid);
    }
    DBNavigator2 = FormControls::movementNavigator(this, "DBNavigator2", source, QRect(8, 384, 344, 25));

    Button1 = FormControls::button(this, "Button1", "Tutup", QRect(8, 416, 345, 25));


    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
    connect(Button2, &QPushButton::clicked, this, guard(this, &TForm7::Button2Click));
    connect(Button1, &QPushButton::clicked, this, guard(this, &TForm7::Button1Click));
}

void TForm7::RadioGroup1Click()
{
    switch (RadioGroup1->ItemIndex()) {
    case 0:
        DMarsipstaf->Tmutasi.SetIndexFieldNames("No_SKM");
        break;
    case 1:
        DMarsipstaf->Tmutasi.SetIndexFieldNames("NIP");
        break;
    default:
        DMarsipstaf->Tmutasi.SetIndexFieldNames("Nama_Pegawai");
        break;
    }
}

void TForm7::Button2Click()
{
    if (!DMarsipstaf->Tmutasi.FindKey({Edit1->text().toStdString()}))
        ShowMessage(QString::fromUtf8("Data Tidak Ada "));
    Edit1->clear();
    Edit1->setFocus();
}

void TForm7::Button1Click()
{
    Close();
}
