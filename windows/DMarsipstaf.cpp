#include "DMarsipstaf.h"

TDMarsipstaf* DMarsipstaf = nullptr;
