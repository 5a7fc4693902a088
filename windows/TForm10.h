#pragma once
#include "ReportWindow.h"

// Unit Fbezetting. Carries the staffing report.
class TForm10 : public ReportWindow {
    Q_OBJECT
public:
    TForm10();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm10* Form10;
