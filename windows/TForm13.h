#pragma once
#include "TForm.h"

// Unit Fsekilaspengguna. An older usage text window: defined, never created.
class TForm13 : public TForm {
    Q_OBJECT
public:
    TForm13();
};
