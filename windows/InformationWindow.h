#pragma once
#include "InformationWindowLayout.h"
#include "TForm.h"

class QPushButton;
class TRepMemo;

// The common body of the two information windows: a fixed text that cannot
// be changed, and "Tutup" below it, which keeps the first focus.
class InformationWindow : public TForm {
    Q_OBJECT
public:
    TRepMemo* RepMemo1;
    QPushButton* Button1;  // "Tutup"

    // Tutup: hide the window.
    void Button1Click();

protected:
    InformationWindow(const QString& name, const QString& caption, const QRect& outer,
                      const InformationWindowLayout& layout);
};
