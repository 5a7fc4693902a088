#pragma once
#include "TForm.h"

class TGroupBox;
class QLineEdit;
class QPushButton;
class TDBGrid;
class TDBNavigator;
class TRadioGroup;

// Unit Fcaridatapeg. Finds one employee record by an exact key.
class TForm6 : public TForm {
    Q_OBJECT
public:
    // Binds to DMarsipstaf when it exists (a window built without the data
    // module stays unbound).
    TForm6();

    TRadioGroup* RadioGroup1;  // the ordering, which also picks the key field
    TGroupBox* GroupBox1;
    QLineEdit* Edit1;          // the key searched for
    QPushButton* Button2;      // "Cari"
    TDBGrid* DBGrid1;  // the key columns
    TDBNavigator* DBNavigator1;
    TDBGrid* DBGrid2;  // the other columns of the same row
    TDBNavigator* DBNavigator2;
    QPushButton* Button1;      // "Tutup"

    void RadioGroup1Click();
    void Button2Click();
    void Button1Click();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm6* Form6;
