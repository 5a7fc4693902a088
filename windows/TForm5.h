#pragma once
#include "ListWindow.h"

// Unit Flihatdatamutasi. The list of every transfer record; its grid edits in place.
class TForm5 : public ListWindow {
    Q_OBJECT
public:
    explicit TForm5(TDMarsipstaf& module);
};

// Created at start-up, hidden; lives until the program ends.
extern TForm5* Form5;
