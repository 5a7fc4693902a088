#pragma once
#include "TForm.h"

// Unit Flihatdatapeg. The read-only list of every employee record.
class TForm4 : public TForm {
    Q_OBJECT
public:
    TForm4();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm4* Form4;
