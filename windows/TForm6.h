#pragma once
#include "SearchWindow.h"

// Unit Fcaridatapeg. Finds one employee record by an exact key.
class TForm6 : public SearchWindow {
    Q_OBJECT
public:
    explicit TForm6(TDMarsipstaf& module);
};

// Created at start-up, hidden; lives until the program ends.
extern TForm6* Form6;
