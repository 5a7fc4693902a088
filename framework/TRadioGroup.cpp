#include "TRadioGroup.h"
#include "HandlerGuard.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
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
        b->installEventFilter(this);
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

// The buttons' own arrow keys only move the focus while no item is chosen;
// here an arrow always chooses, as it does once an item is chosen.
bool TRadioGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return TGroupBox::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const auto found = std::find(buttons_.begin(), buttons_.end(), watched);
    const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_Left ||
                       key->key() == Qt::Key_Right;
    if (found == buttons_.end() || !arrow || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return TGroupBox::eventFilter(watched, event);
    arrowFrom(int(found - buttons_.begin()), key->key());
    return true;
}

void TRadioGroup::arrowFrom(int index, int key)
{
    const int step = key == Qt::Key_Up || key == Qt::Key_Left ? -1 : 1;
    int next = index + step;
    while (next >= 0 && next < int(buttons_.size()) && !buttons_[std::size_t(next)]->isEnabled())
        next += step;
    if (next < 0 || next >= int(buttons_.size()))
        next = index;
    QRadioButton* target = buttons_[std::size_t(next)];
    target->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    if (!target->isChecked())
        target->setChecked(true);  // runs OnClick through buttonToggled
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
