#pragma once
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "PrinterObserver.h"
#include "TRepPrinter.h"

// The progress of a run to the printer, with a button that cancels it. It
// observes the destination; progress notifications arrive posted.
class TRepProgressForm : public QWidget, public PrinterObserver {
    Q_OBJECT
public:
    // Does not take ownership of the destination, which must outlive the window.
    explicit TRepProgressForm(TRepPrinter& destination, QWidget* parent = nullptr);

    QProgressBar* Gauge;
    QLabel* Info;
    QPushButton* CancelButton;

    // Shows the destination's current progress when it is a multiple of 5.
    void UpdateProgress();
    void CancelButtonClick();

    void PageAvailable(int) override {}
    void Progress(int percent) override;

protected:
    // The frame's close box stops the print as Cancel does.
    void closeEvent(QCloseEvent* event) override;
    // Escape cancels, as the button does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    TRepPrinter& destination_;
};
