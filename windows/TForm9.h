#pragma once
#include "ReportWindow.h"

class TDMarsipstaf;

// Unit FDUK. Carries the seniority-list report.
class TForm9 : public ReportWindow {
    Q_OBJECT
public:
    explicit TForm9(TDMarsipstaf& module);
};

// Created at start-up, hidden; lives until the program ends.
extern TForm9* Form9;
