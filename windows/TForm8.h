#pragma once
#include "ReportWindow.h"

// Unit Flapduk. Carries a near-empty report that no command opens.
class TForm8 : public ReportWindow {
    Q_OBJECT
public:
    TForm8();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm8* Form8;
