#pragma once
#include "TForm.h"

class QPlainTextEdit;

// Unit Fsekilaspengguna. An older usage text window: defined, never created
// by the program, so it has no behaviour of its own.
class TForm13 : public TForm {
    Q_OBJECT
public:
    TForm13();

    // The unnamed multi-line edit box holding lines 1 to 39 of the usage text.
    QPlainTextEdit* memo() const { return memo_; }

private:
    QPlainTextEdit* memo_;
};
