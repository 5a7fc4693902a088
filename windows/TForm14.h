#pragma once
#include "TForm.h"

class QPushButton;
class TRepMemo;

// Unit Fsekilasprog. Shows how to use the program.
class TForm14 : public TForm {
    Q_OBJECT
public:
    TForm14();

    TRepMemo* RepMemo1;
    QPushButton* Button1;  // "Tutup"

    void Button1Click();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm14* Form14;
