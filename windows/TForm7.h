#pragma once
#include "SearchWindow.h"

// Unit Fcaridatamutasi. Finds one transfer record by an exact key.
class TForm7 : public SearchWindow {
    Q_OBJECT
public:
    explicit TForm7(TDMarsipstaf& module);
};

// Created at start-up, hidden; lives until the program ends.
extern TForm7* Form7;
