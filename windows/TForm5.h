#pragma once
#include "TForm.h"

// Unit Flihatdatamutasi. The list of every transfer record.
class TForm5 : public TForm {
    Q_OBJECT
public:
    TForm5();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm5* Form5;
