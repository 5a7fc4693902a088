#pragma once
#include "ReportWindow.h"

// Unit Flapmutasi. Carries the transfer report.
class TForm11 : public ReportWindow {
    Q_OBJECT
public:
    TForm11();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm11* Form11;
