#include "TForm15.h"

#include "FormControls.h"
#include "HandlerGuard.h"
#include "InformationTexts.h"
#include "TRepMemo.h"
#include "WindowFonts.h"

#include <QPushButton>

TForm15* Form15 = nullptr;

TForm15::TForm15()
    : TForm(QStringLiteral("Form15"), QString::fromUtf8("Form Sekilas RADAR Kelas I Sindara"), QRect(191, 100, 537, 331), WindowFonts::sansSerif(11))
{
    RepMemo1 = new TRepMemo(this);
    RepMemo1->setObjectName(QStringLiteral("RepMemo1"));
    RepMemo1->SetAlignment(TRepAlignment::taCenter);
    RepMemo1->SetBounds(16, 16, 497, 241);
    RepMemo1->SetLines(InformationTexts::officeHistory());
    FormControls::roomForScrollBar(this, RepMemo1);

    Button1 = FormControls::button(this, "Button1", "Tutup", QRect(16, 272, 497, 25));
    connect(Button1, &QPushButton::clicked, this, guard(this, &TForm15::Button1Click));
    setTabOrder(Button1, RepMemo1);
    Button1->setFocus();  // "Tutup" keeps the first focus
}

void TForm15::Button1Click()
{
    Close();
}
