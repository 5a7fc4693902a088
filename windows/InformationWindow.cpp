#include "InformationWindow.h"

#include "FormControls.h"
#include "HandlerGuard.h"
#include "TRepMemo.h"
#include "WindowFonts.h"

#include <QPushButton>

InformationWindow::InformationWindow(const QString& name, const QString& caption, const QRect& outer,
                                     const InformationWindowLayout& layout)
    : TForm(name, caption, outer, WindowFonts::sansSerif(11))
{
    RepMemo1 = new TRepMemo(this);
    RepMemo1->setObjectName(QStringLiteral("RepMemo1"));
    RepMemo1->SetAlignment(layout.alignment);
    const QRect& r = layout.memo;
    RepMemo1->SetBounds(r.x(), r.y(), r.width(), r.height());
    RepMemo1->SetLines(layout.text());
    FormControls::roomForScrollBar(this, RepMemo1);

    Button1 = FormControls::button(this, "Button1", "Tutup", layout.closeButton);
    connect(Button1, &QPushButton::clicked, this, guard(this, &InformationWindow::Button1Click));
    setTabOrder(Button1, RepMemo1);
    Button1->setFocus();  // "Tutup" keeps the first focus
}

void InformationWindow::Button1Click()
{
    Close();
}
