#pragma once
#include <QGroupBox>
#include <QStringList>

#include <functional>
#include <vector>

class QRadioButton;

// A captioned group of mutually exclusive choices. ItemIndex is -1 while
// nothing is chosen, which is how a group starts. OnClick runs whenever the
// chosen item changes, by mouse, by the arrow keys or by SetItemIndex;
// choosing the item already chosen does not run it.
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    QStringList Items() const;
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    QRadioButton* button(int index) const { return buttons_.at(std::size_t(index)); }
    int count() const { return int(buttons_.size()); }

    std::function<void(TRadioGroup&)> OnClick;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void arrangeButtons();
    void buttonToggled(int index, bool checked);

    std::vector<QRadioButton*> buttons_;
    int itemIndex_ = -1;
};
