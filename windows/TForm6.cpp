#include "TForm6.h"

#include "DMarsipstaf.h"
#include "FormControls.h"
#include "MessageBoxes.h"
#include "TDBNavigator.h"
#include "TGroupBox.h"
#include "TRadioGroup.h"
#include "WindowFonts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TForm6* Form6 = nullptr;

TForm6::TForm6()
    : TForm(QStringLiteral("Form6"), QString::fromUtf8("Form Cari Data Pegawai"), QRect(274, 78, 347, 478), WindowFonts::sansSerif(11))
{
    TDataSource* source = DMarsipstaf ? &DMarsipstaf->DSdatapeg : nullptr;

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
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(24, 16, 121, 21);
    Edit1->setMaxLength(10);
    Button2 = FormControls::button(GroupBox1, "Button2", "Cari", QRect(40, 48, 75, 25));

    Button1 = FormControls::button(this, "Button1", "Tutup", QRect(8, 421, 321, 25));

    setTabOrder(DBNavigator1, DBNavigator2);
    setTabOrder(DBNavigator2, RadioGroup1->button(0));
    setTabOrder(RadioGroup1->button(0), RadioGroup1->button(1));
    setTabOrder(RadioGroup1->button(1), RadioGroup1->button(2));
    setTabOrder(RadioGroup1->button(2), Button2);
    setTabOrder(Button2, Edit1);
    setTabOrder(Edit1, Button1);

    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
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
