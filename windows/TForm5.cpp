#include "TForm5.h"

#include "DMarsipstaf.h"
#include "FormControls.h"
#include "TDBNavigator.h"
#include "WindowFonts.h"

#include <QPushButton>

TForm5* Form5 = nullptr;

TForm5::TForm5()
    : TForm(QStringLiteral("Form5"), QString::fromUtf8("Form Lihat Data Mutasi"), QRect(192, 107, 345, 231), WindowFonts::sansSerif(11))
{
    TDataSource* source = DMarsipstaf ? &DMarsipstaf->DSmutasi : nullptr;
    Button1 = FormControls::button(this, "Button1", "Pertama", QRect(8, 8, 105, 25));
    Button2 = FormControls::button(this, "Button2", "Terakhir", QRect(120, 8, 97, 25));
    Button3 = FormControls::button(this, "Button3", "Tutup", QRect(224, 8, 105, 25));
    DBNavigator1 = FormControls::movementNavigator(this, "DBNavigator1", source, QRect(8, 168, 320, 25));

    setTabOrder(DBNavigator1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
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
