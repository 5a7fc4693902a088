#pragma once
#include "TForm.h"

// Unit FsekilasRADAR. Shows a short history of the office.
class TForm15 : public TForm {
    Q_OBJECT
public:
    TForm15();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm15* Form15;
