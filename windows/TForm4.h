#pragma once
#include "ListWindow.h"

// Unit Flihatdatapeg. The read-only list of every employee record.
class TForm4 : public ListWindow {
    Q_OBJECT
public:
    explicit TForm4(TDMarsipstaf& module);
};

// Created at start-up, hidden; lives until the program ends.
extern TForm4* Form4;
