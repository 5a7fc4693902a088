#include "TForm14.h"

#include "FormControls.h"
#include "HandlerGuard.h"
#include "InformationTexts.h"
#include "TRepMemo.h"
#include "WindowFonts.h"

#include <QPushButton>

TForm14* Form14 = nullptr;

TForm14::TForm14()
    : TForm(QStringLiteral("Form14"), QString::fromUtf8("Form Sekilas Penggunaan Program"), QRect(202, 58, 540, 500), WindowFonts::sansSerif(11))
{
    RepMemo1 = new TRepMemo(this);
    RepMemo1->setObjectName(QStringLiteral("RepMemo1"));
    RepMemo1->SetAlignment(TRepAlignment::taLeftJustify);
    RepMemo1->SetBounds(16, 16, 505, 417);
    RepMemo1->SetLines(InformationTexts::usage());
    FormControls::roomForScrollBar(this, RepMemo1);

    Button1 = FormControls::button(this, "Button1", "Tutup", QRect(16, 440, 505, 25));
    connect(Button1, &QPushButton::clicked, this, guard(this, &TForm14::Button1Click));
    setTabOrder(Button1, RepMemo1);
    Button1->setFocus();  // "Tutup" keeps the first focus
}

void TForm14::Button1Click()
{
    Close();
}
