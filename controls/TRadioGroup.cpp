#include "TRadioGroup.h"

#include <QEvent>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <algorithm>

namespace {
// A choice that answers a click anywhere in its row, not only on its
// circle and caption.
class GroupButton : public QRadioButton {
public:
    GroupButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
}

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent)
{
    // The group itself is never a tab stop: the focus goes to its buttons.
    setFocusPolicy(Qt::NoFocus);
}

void TRadioGroup::SetItems(const QStringList& items)
{
    for (QRadioButton* button : buttons_)
        delete button;
    buttons_.clear();
    itemIndex_ = -1;
    for (int i = 0; i < items.size(); ++i) {
        QRadioButton* button = new GroupButton(items[i], this);
        button->setObjectName(QStringLiteral("Item%1").arg(i));
        connect(button, &QRadioButton::toggled, this, [this, i](bool checked) { buttonToggled(i, checked); });
        buttons_.push_back(button);
        button->show();
    }
    arrangeButtons();
}

QStringList TRadioGroup::Items() const
{
    QStringList items;
    for (const QRadioButton* button : buttons_)
        items << button->text();
    return items;
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < 0 || index >= count()) {
        // Nothing chosen: exclusive buttons cannot all be unchecked by the
        // user, so the exclusivity is lifted for the moment of clearing.
        if (itemIndex_ >= 0) {
            QRadioButton* checked = button(itemIndex_);
            checked->setAutoExclusive(false);
            checked->setChecked(false);
            checked->setAutoExclusive(true);
        }
        itemIndex_ = -1;
        return;
    }
    button(index)->setChecked(true);
}

void TRadioGroup::buttonToggled(int index, bool checked)
{
    if (!checked || index == itemIndex_)
        return;
    itemIndex_ = index;
    if (OnClick)
        OnClick(*this);
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    arrangeButtons();
}

void TRadioGroup::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        arrangeButtons();
}

void TRadioGroup::arrangeButtons()
{
    if (buttons_.empty())
        return;
    // The buttons share the inside of the frame in equal rows.
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QRect inside = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, this);
    const int rowHeight = std::max(1, (inside.height() - 2) / count());
    for (int i = 0; i < count(); ++i)
        button(i)->setGeometry(inside.left() + 6, inside.top() + 1 + i * rowHeight, std::max(0, inside.width() - 8),
                               rowHeight);
}
