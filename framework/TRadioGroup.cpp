#include "TRadioGroup.h"
#include "HandlerGuard.h"

#include <QEvent>
#include <QFontMetrics>
#include <QRadioButton>

#include <algorithm>

namespace {
constexpr int sideMargin = 8;
constexpr int bottomMargin = 5;
}  // namespace

TRadioGroup::TRadioGroup(QWidget* parent) : TGroupBox(parent)
{
    // The focus goes to the chosen button, never to the frame itself.
    setFocusPolicy(Qt::NoFocus);
}

void TRadioGroup::SetItems(const QStringList& items)
{
    for (QRadioButton* b : buttons_)
        delete b;
    buttons_.clear();
    items_ = items;
    itemIndex_ = -1;
    // The buttons are auto-exclusive among themselves: the group frame is
    // their only common parent.
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items.at(i), this);
        connect(b, &QRadioButton::toggled, this, guard([this, i](bool checked) { buttonToggled(i, checked); }));
        b->show();
        buttons_.push_back(b);
    }
    arrangeButtons();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < -1 || index >= int(buttons_.size()))
        index = -1;
    updating_ = true;
    if (index >= 0) {
        buttons_[std::size_t(index)]->setChecked(true);
    } else if (itemIndex_ >= 0) {
        // An exclusive button cannot be unchecked while it is the chosen one.
        QRadioButton* chosen = buttons_[std::size_t(itemIndex_)];
        chosen->setAutoExclusive(false);
        chosen->setChecked(false);
        chosen->setAutoExclusive(true);
    }
    itemIndex_ = index;
    updating_ = false;
}

void TRadioGroup::buttonToggled(int index, bool checked)
{
    if (!checked || updating_)
        return;
    itemIndex_ = index;
    if (OnClick)
        OnClick();
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    TGroupBox::resizeEvent(event);
    arrangeButtons();
}

void TRadioGroup::changeEvent(QEvent* event)
{
    TGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        arrangeButtons();
}

void TRadioGroup::arrangeButtons()
{
    if (buttons_.empty())
        return;
    // The caption takes one text line at the top; the rest is shared out
    // evenly, the odd pixels split above and below.
    const int count = int(buttons_.size());
    const int textHeight = QFontMetrics(font()).height();
    const int room = std::max(0, height() - textHeight - bottomMargin);
    const int rowHeight = room / count;
    const int top = textHeight + 1 + (room % count) / 2;
    const int buttonWidth = std::max(0, width() - 2 * sideMargin - 2);
    for (int i = 0; i < count; ++i)
        buttons_[std::size_t(i)]->setGeometry(sideMargin, top + i * rowHeight, buttonWidth, rowHeight);
}
