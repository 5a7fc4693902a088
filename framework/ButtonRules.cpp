#include "ButtonRules.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

namespace {

bool isEnter(const QKeyEvent* key)
{
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    return enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Qt gives the focus on a click before the press reaches the button; the
// window's focus widget tells whether it moved (also in a window that is
// not active yet).
bool focusRefused(const QAbstractButton* button)
{
    return (button->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus && button->isEnabled() &&
           button->window()->focusWidget() != button;
}

}  // namespace

bool ButtonRules::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && button->isEnabled() && button->hasFocus() && isEnter(static_cast<QKeyEvent*>(event))) {
            button->click();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (button && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && focusRefused(button))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
