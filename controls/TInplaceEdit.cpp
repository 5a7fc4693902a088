#include "TInplaceEdit.h"

#include "HandlerGuard.h"
#include "TDBGrid.h"
#include "TPopupDataList.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

TInplaceEdit::TInplaceEdit(TDBGrid& grid, QWidget* parent) : TCustomMaskEdit(parent), grid_(grid)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    hide();
}

void TInplaceEdit::SetHasButton(bool hasButton)
{
    if (hasButton_ == hasButton)
        return;
    hasButton_ = hasButton;
    update();
}

QRect TInplaceEdit::ButtonRect() const
{
    if (!hasButton_)
        return {};
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QRect(this->width() - width - 1, 1, width, height() - 2);
}

void TInplaceEdit::Deselect()
{
    model().moveCursor(cursorPosition());
    update();
}

bool TInplaceEdit::canModify()
{
    return grid_.EditorCanModify();
}

void TInplaceEdit::change()
{
    TCustomMaskEdit::change();
    grid_.EditorChanged();
}

bool TInplaceEdit::atEdge(int key) const
{
    if (selectionLength() > 0)
        return false;
    const int length = static_cast<int>(editor().edit().size());
    if (key == Qt::Key_Left || key == Qt::Key_Home)
        return cursorPosition() == 0;
    return cursorPosition() >= length;
}

// The keys that move between cells and records belong to the grid.
bool TInplaceEdit::passesToGrid(QKeyEvent* event) const
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return !(mods & Qt::AltModifier);
    case Qt::Key_Insert:
        return !shift && !ctrl;
    case Qt::Key_Delete:
        return ctrl;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return grid_.Has(TDBGridOption::dgAlwaysShowEditor) && (ctrl || atEdge(event->key()));
    default:
        return false;
    }
}

void TInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    guardedEvent(event, [&] {
        const int key = event->key();
        const bool altArrow = (event->modifiers() & Qt::AltModifier) && (key == Qt::Key_Up || key == Qt::Key_Down);
        if (grid_.DropDownVisible()) {
            // The open list takes every key; Enter and Escape close it.
            if (altArrow)
                grid_.CloseUp(true);
            else
                grid_.PopupList()->handleKey(key, event->modifiers(), event->text());
            event->accept();
            return;
        }
        if (altArrow && hasButton_) {
            grid_.DropDown();
            event->accept();
            return;
        }
        if (key == Qt::Key_F2) {
            Deselect();
            event->accept();
            return;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (grid_.Has(TDBGridOption::dgAlwaysShowEditor)) {
                if (selectionLength() == static_cast<int>(editor().edit().size()))
                    model().moveCursor(cursorPosition());
                else
                    selectAll();
                update();
                event->accept();
                return;
            }
            grid_.EditorKey(event);
            return;
        }
        if (passesToGrid(event)) {
            grid_.EditorKey(event);
            return;
        }
        TCustomMaskEdit::keyPressEvent(event);
    });
}

void TInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    guardedEvent(event, [&] {
        if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
            grid_.CloseUp(false);
        leaveBox(event);
        grid_.EditorFocusOut(event);
    });
}

void TInplaceEdit::mousePressEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (event->button() == Qt::LeftButton && ButtonRect().contains(event->position().toPoint())) {
            grid_.EditorButtonPress();
            return;
        }
        if (grid_.DropDownVisible())
            grid_.CloseUp(false);
        TCustomMaskEdit::mousePressEvent(event);
    });
}

void TInplaceEdit::mouseMoveEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (grid_.DropDownVisible()) {
            if (event->buttons() & Qt::LeftButton)
                grid_.EditorMouseMove(event->globalPosition().toPoint());
            return;
        }
        TCustomMaskEdit::mouseMoveEvent(event);
    });
}

void TInplaceEdit::mouseReleaseEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (event->button() == Qt::LeftButton)
            grid_.EditorMouseRelease(event->globalPosition().toPoint());
        TCustomMaskEdit::mouseReleaseEvent(event);
    });
}

void TInplaceEdit::paintEvent(QPaintEvent* event)
{
    TCustomMaskEdit::paintEvent(event);
    if (!hasButton_)
        return;
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = ButtonRect();
    option.state |= QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = ButtonRect().adjusted(3, 3, -3, -3);
    if (grid_.DropDownVisible())
        arrow.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
}
