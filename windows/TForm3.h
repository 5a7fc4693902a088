#pragma once
#include "TForm.h"

// Unit Fdatamutasi. The transfer data window: entries, grid and navigator over the transfer table.
class TForm3 : public TForm {
    Q_OBJECT
public:
    TForm3();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm3* Form3;
