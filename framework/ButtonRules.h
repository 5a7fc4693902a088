#pragma once
#include <QObject>

// What every button of the program does beyond Qt's own, watched for the
// whole application:
// - Enter on a focused push button presses it, as Space does (Qt leaves
//   Enter to a window's default button, which our windows do not have).
// - A mouse press on a button that takes the focus on a click, where the
//   focus did not come (an entry refused to let it go and kept it), is
//   dropped: the click was refused with the focus change, and the button
//   is not left drawn pressed behind the error box.
class ButtonRules : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
