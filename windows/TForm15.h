#pragma once
#include "TForm.h"

class QPushButton;
class TRepMemo;

// Unit FsekilasRADAR. Shows a short history of the office.
class TForm15 : public TForm {
    Q_OBJECT
public:
    TForm15();

    TRepMemo* RepMemo1;
    QPushButton* Button1;  // "Tutup"

    void Button1Click();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm15* Form15;
