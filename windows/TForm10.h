#pragma once
#include "ReportWindow.h"

class TDMarsipstaf;

// Unit Fbezetting. Carries the staffing report.
class TForm10 : public ReportWindow {
    Q_OBJECT
public:
    explicit TForm10(TDMarsipstaf& module);
};

// Created at start-up, hidden; lives until the program ends.
extern TForm10* Form10;
