#pragma once
#include "TForm.h"

// Unit Fcaridatamutasi. Finds one transfer record by an exact key.
class TForm7 : public TForm {
    Q_OBJECT
public:
    TForm7();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm7* Form7;
