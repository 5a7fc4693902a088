#pragma once
#include "InformationWindow.h"

// Unit Fsekilasprog. Shows how to use the program.
class TForm14 : public InformationWindow {
    Q_OBJECT
public:
    TForm14();
};

// Created at start-up, hidden; lives until the program ends.
extern TForm14* Form14;
