#pragma once
#include "TForm.h"

// Unit Fcaridatapeg. Finds one employee record by an exact key.
class TForm6 : public TForm {
    Q_OBJECT
public:
    TForm6();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm6* Form6;
