#pragma once
#include "ReportWindow.h"

class TDMarsipstaf;

// Unit Flapmutasi. Carries the transfer report.
class TForm11 : public ReportWindow {
    Q_OBJECT
public:
    explicit TForm11(TDMarsipstaf& module);
};

// Created at start-up, hidden; lives until the program ends.
extern TForm11* Form11;
