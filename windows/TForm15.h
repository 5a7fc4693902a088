#pragma once
#include "InformationWindow.h"

// Unit FsekilasRADAR. Shows a short history of the office.
class TForm15 : public InformationWindow {
    Q_OBJECT
public:
    TForm15();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm15* Form15;
