#pragma once
#include "MessageFormPlan.h"

#include <QDialog>
#include <QMap>

class QPushButton;

// The message dialog: laid out from its font's dialog units, centred on the
// screen, shown modally. Made anew for every box and destroyed after it.
class TMessageForm : public QDialog {
    Q_OBJECT
public:
    explicit TMessageForm(const MessageFormPlan& plan, QWidget* parent = nullptr);

    // Shows the dialog modally; the result code of the pressed button, or
    // the close result when closed by its frame.
    int run();

    // What Ctrl+C puts on the clipboard: caption, text and button captions
    // between dividers of 27 "-".
    QString clipboardText() const;

    QPushButton* button(MessageButton kind) const { return buttons_.value(int(kind)); }

    // Multiply-divide rounded half away from zero, as the layout uses.
    static int mulDiv(int number, int numerator, int denominator);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void layOut();
    void pressAccelerator(QKeyEvent* event);
    static int captionWidth(MessageButton kind, const QFontMetrics& metrics);

    MessageFormPlan plan_;
    QMap<int, QPushButton*> buttons_;
};
