#pragma once
#include "TDMarsipstaf.h"

// The data module: created at start-up fourth, after Form2, and destroyed
// only when the program ends. Every window names its tables through it.
extern TDMarsipstaf* DMarsipstaf;
