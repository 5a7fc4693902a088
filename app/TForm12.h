#pragma once
#include "TForm.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Unit Fpassword. The login window and the application's main window: the
// only way into the menu window, and closing it ends the program.
class TForm12 : public TForm {
    Q_OBJECT
public:
    TForm12();

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

    void Button1Click();  // "Masuk": check the password
    void Button2Click();  // "Batal": empty the entry and focus it
    void Button3Click();  // "Tutup": close, which ends the program

private:
    QPushButton* makeButton(const char* name, const char* caption, int x);
};

// The first object created at start-up; lives until the program ends.
extern TForm12* Form12;
