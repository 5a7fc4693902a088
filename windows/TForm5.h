#pragma once
#include "TForm.h"

class ListExport;
class QPushButton;
class TDBGrid;
class TDBNavigator;

// Unit Flihatdatamutasi. The list of every transfer record; its grid edits in place.
class TForm5 : public TForm {
    Q_OBJECT
public:
    // Binds to DMarsipstaf when it exists (a window built without the data
    // module stays unbound).
    TForm5();

    QPushButton* Button1;  // "Pertama"
    QPushButton* Button2;  // "Terakhir"
    QPushButton* Button3;  // "Tutup"
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    ListExport* Export;  // "Ekspor...": what the grid shows, to a file

    void Button1Click();
    void Button2Click();
    void Button3Click();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm5* Form5;
