#pragma once
#include "TGroupBox.h"
#include <QStringList>

#include <functional>
#include <vector>

class QRadioButton;

// A captioned group of radio buttons, one per item, of which at most one is
// chosen. The buttons are spread evenly over the group's height below the
// caption, in one column. OnClick runs when the user chooses another item
// (with the mouse or the arrow keys); choosing the chosen item again, and
// setting ItemIndex from code, do not run it.
class TRadioGroup : public TGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList Items() const { return items_; }
    void SetItems(const QStringList& items);
    // -1 while no item is chosen (the state a new group starts in).
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

    QRadioButton* button(int index) const { return buttons_.at(std::size_t(index)); }

    std::function<void()> OnClick;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void arrangeButtons();
    void buttonToggled(int index, bool checked);
    // An arrow key on the button of item index: chooses the next item that
    // way (the focused one at either end) and moves the focus there.
    void arrowFrom(int index, int key);

    QStringList items_;
    std::vector<QRadioButton*> buttons_;
    int itemIndex_ = -1;
    bool updating_ = false;
};
