#include "TForm12.h"

#include "HandlerGuard.h"
#include "MessageBoxes.h"
#include "TForm1.h"
#include "WindowFonts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm12* Form12 = nullptr;

namespace {
const QString storedPassword = QStringLiteral("mawar");
}  // namespace

TForm12::TForm12()
    : TForm(QStringLiteral("Form12"), QStringLiteral("Form Login"), QRect(309, 155, 309, 137),
            WindowFonts::timesNewRoman(13))
{
    Label1 = new QLabel(QStringLiteral("Password"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(24, 24);
    Label1->adjustSize();

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(88, 16, 185, 23);
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*"

    Button1 = makeButton("Button1", "Masuk", 24);
    Button2 = makeButton("Button2", "Batal", 112);
    Button3 = makeButton("Button3", "Tutup", 200);
    connect(Button1, &QPushButton::clicked, this, guard(this, &TForm12::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guard(this, &TForm12::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guard(this, &TForm12::Button3Click));

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    Edit1->setFocus();
}

QPushButton* TForm12::makeButton(const char* name, const char* caption, int x)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 72, 75, 25);
    // No default button: Enter in the entry checks nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void TForm12::Button1Click()
{
    if (Edit1->text() != storedPassword) {
        ShowMessage(QStringLiteral("Maaf .... ! Password Yang Anda Masukkan Salah. Silahkan coba Lagi ... !"));
        Edit1->clear();
        Edit1->setFocus();
        return;
    }
    Form1->Show();
    Hide();
    Edit1->clear();
}

void TForm12::Button2Click()
{
    Edit1->clear();
    Edit1->setFocus();
}

void TForm12::Button3Click()
{
    Close();
}
