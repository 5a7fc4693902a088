#pragma once
#include "ReportWindow.h"

// Unit FDUK. Carries the seniority-list report.
class TForm9 : public ReportWindow {
    Q_OBJECT
public:
    TForm9();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm9* Form9;
