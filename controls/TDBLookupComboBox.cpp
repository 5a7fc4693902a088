#include "TDBLookupComboBox.h"

#include "HandlerGuard.h"
#include "TDataSet.h"
#include "TField.h"
#include "TPopupDataList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include <algorithm>

namespace {

constexpr int textMargin = 2;

}  // namespace

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent) : TDBLookupControl(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    list_ = new TPopupDataList(this);
    list_->hide();
    connect(list_, &TPopupDataList::accepted, this, guard([this] { CloseUp(true); }));
    connect(list_, &TPopupDataList::discarded, this, guard([this] { CloseUp(false); }));
    updateHeight();
    resize(145, height());
}

TDBLookupComboBox::~TDBLookupComboBox()
{
    qApp->removeEventFilter(this);
    list_->setListSource(nullptr);
}

// ---- geometry ----

int TDBLookupComboBox::frameWidth() const
{
    return style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
}

int TDBLookupComboBox::buttonWidth() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QRect TDBLookupComboBox::buttonRect() const
{
    const int frame = frameWidth();
    return QRect(width() - frame - buttonWidth(), frame, buttonWidth(), height() - 2 * frame);
}

// The height is not free: text height, border and 4 pixels.
void TDBLookupComboBox::updateHeight()
{
    setFixedHeight(fontMetrics().height() + 2 * frameWidth() + 4);
}

QSize TDBLookupComboBox::sizeHint() const
{
    return QSize(145, height());
}

QSize TDBLookupComboBox::minimumSizeHint() const
{
    return QSize(buttonWidth() + 2 * frameWidth() + 8, height());
}

void TDBLookupComboBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateHeight();
    TDBLookupControl::changeEvent(event);
}

// ---- drop-down ----

void TDBLookupComboBox::DropDown()
{
    if (listVisible_ || !ListActive())
        return;
    if (OnDropDown)
        OnDropDown(*this);
    list_->setPalette(palette());
    list_->setFont(font());
    const int width = DropDownWidth > 0 ? DropDownWidth : this->width();
    list_->setReadOnly(!CanModify());
    const int records = listLink().DataSet()->RecordCount();
    list_->setRowCount(records > 0 && DropDownRows > records ? records : DropDownRows);
    std::string names;
    for (const TField* field : listFields())
        names += field->FieldName() + ";";
    list_->setKeyFieldName(keyField()->FieldName());
    list_->setListFieldNames(names);
    const auto at = std::find(listFields().begin(), listFields().end(), listField());
    list_->setListFieldIndex(static_cast<int>(at - listFields().begin()));
    list_->setListSource(listLink().DataSource());
    list_->setKeyValue(KeyValue());
    list_->resize(width, list_->heightForRows(list_->rowCount()));

    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    int y = topLeft.y() + height();
    const QRect screenArea = screen() ? screen()->geometry() : QRect(0, 0, 1 << 20, 1 << 20);
    if (y + list_->height() > screenArea.bottom() + 1)
        y = topLeft.y() - list_->height();
    TDropDownAlign align = DropDownAlign;
    if (layoutDirection() == Qt::RightToLeft && align != TDropDownAlign::daCenter)
        align = align == TDropDownAlign::daLeft ? TDropDownAlign::daRight : TDropDownAlign::daLeft;
    int x = topLeft.x();
    if (align == TDropDownAlign::daRight)
        x -= list_->width() - this->width();
    else if (align == TDropDownAlign::daCenter)
        x -= (list_->width() - this->width()) / 2;
    list_->move(x, y);
    list_->show();
    listVisible_ = true;
    qApp->installEventFilter(this);
    repaint();
}

void TDBLookupComboBox::CloseUp(bool accept)
{
    if (!listVisible_)
        return;
    stopTracking();
    setFocus(Qt::OtherFocusReason);
    const FieldValue chosen = list_->keyValue();
    qApp->removeEventFilter(this);
    list_->hide();
    listVisible_ = false;
    list_->setListSource(nullptr);
    clearSearch();
    update();
    if (accept && CanModify())
        SelectKeyValue(chosen);
    if (OnCloseUp)
        OnCloseUp(*this);
}

// ---- keys ----

bool TDBLookupComboBox::event(QEvent* event)
{
    // While the list is open Enter and Escape are ours, not the window's
    // default and cancel buttons'.
    if (event->type() == QEvent::ShortcutOverride && listVisible_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape) {
            key->accept();
            return true;
        }
    }
    return TDBLookupControl::event(event);
}

// While the list is open, a press anywhere but on the box or the list (a
// scroll bar, a button, another window) closes it without accepting.
bool TDBLookupComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (listVisible_ && event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget != this && widget != list_ && !list_->isAncestorOf(widget))
            guarded([this] { CloseUp(false); });
    }
    return TDBLookupControl::eventFilter(watched, event);
}

void TDBLookupComboBox::keyPressEvent(QKeyEvent* event)
{
    guardedEvent(event, [&] {
        const int key = event->key();
        const Qt::KeyboardModifiers mods = event->modifiers();
        if (!NullValueKey.isEmpty() && CanModify() && QKeySequence(event->keyCombination()) == NullValueKey) {
            ClearMasterField();
            event->accept();
            return;
        }
        if (ListActive() && (key == Qt::Key_Up || key == Qt::Key_Down)) {
            event->accept();
            if (mods & Qt::AltModifier) {
                if (listVisible_)
                    CloseUp(true);
                else
                    DropDown();
                return;
            }
            if (!listVisible_) {
                moveInList(key);
                return;
            }
        }
        if (listVisible_) {
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                event->accept();
                CloseUp(key != Qt::Key_Escape);
                return;
            }
            event->setAccepted(list_->handleKey(key, mods, event->text()));
            return;
        }
        const bool search = key == Qt::Key_Backspace || key == Qt::Key_Escape ||
                            (!event->text().isEmpty() && event->text().at(0).isPrint() &&
                             !(mods & (Qt::ControlModifier | Qt::AltModifier)));
        if (!search) {
            event->ignore();
            return;
        }
        ProcessSearchKey(event->text(), key);
        // Escape also goes on to the window (a cancel button).
        event->setAccepted(key != Qt::Key_Escape);
    });
}

// Up and Down of the closed box: the neighbouring code, or the first code
// when the current one is not in the table.
void TDBLookupComboBox::moveInList(int key)
{
    TDataSet* dataSet = listLink().DataSet();
    if (!LocateKey())
        dataSet->First();
    else
        dataSet->MoveBy(key == Qt::Key_Up ? -1 : 1);
    SelectKeyValue(keyField()->Value());
}

// ---- focus and mouse ----

void TDBLookupComboBox::focusInEvent(QFocusEvent* event)
{
    guardedEvent(event, [&] {
        TDBLookupControl::focusInEvent(event);
        clearSearch();
        update();
    });
}

void TDBLookupComboBox::focusOutEvent(QFocusEvent* event)
{
    guardedEvent(event, [&] {
        TDBLookupControl::focusOutEvent(event);
        if (event->reason() != Qt::PopupFocusReason)
            CloseUp(false);
        update();
    });
}

void TDBLookupComboBox::trackButton(const QPoint& pos)
{
    const bool pressed = tracking_ && buttonRect().contains(pos);
    if (pressed != buttonPressed_) {
        buttonPressed_ = pressed;
        update(buttonRect());
    }
}

void TDBLookupComboBox::stopTracking()
{
    if (!tracking_)
        return;
    trackButton(QPoint(-1, -1));
    tracking_ = false;
    buttonPressed_ = false;
}

void TDBLookupComboBox::mousePressEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (event->button() != Qt::LeftButton)
            return;
        setFocus(Qt::MouseFocusReason);
        if (!hasFocus())
            return;
        if (listVisible_) {
            CloseUp(false);
            return;
        }
        if (!ListActive())
            return;
        tracking_ = true;
        handedToList_ = false;
        trackButton(event->position().toPoint());
        DropDown();
    });
}

void TDBLookupComboBox::mouseMoveEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        const QPoint global = event->globalPosition().toPoint();
        if (handedToList_) {
            list_->dragTo(global);
            return;
        }
        if (!tracking_)
            return;
        trackButton(event->position().toPoint());
        if (listVisible_ && list_->rect().contains(list_->mapFromGlobal(global))) {
            stopTracking();
            handedToList_ = true;
            list_->pressAt(global);
        }
    });
}

void TDBLookupComboBox::mouseReleaseEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (event->button() != Qt::LeftButton)
            return;
        if (handedToList_) {
            handedToList_ = false;
            list_->releaseAt(event->globalPosition().toPoint());
            return;
        }
        stopTracking();
    });
}

// ---- painting ----

void TDBLookupComboBox::paintEvent(QPaintEvent*)
{
    guarded([&] {
        QPainter painter(this);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.lineWidth = frameWidth();
        frame.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

        const QPalette& pal = frame.palette;
        const int f = frameWidth();
        const QRect area(f, f, buttonRect().left() - f, height() - 2 * f);
        const bool highlighted = hasFocus() && !listVisible_;
        if (highlighted)
            painter.fillRect(area, pal.brush(QPalette::Highlight));
        QColor color = pal.color(highlighted ? QPalette::HighlightedText : QPalette::Text);
        if (!isEnabled())
            color = pal.color(QPalette::Disabled, QPalette::Text);
        painter.setPen(color);
        QRect textArea = area.adjusted(textMargin, 0, 0, 0);
        int flags = Qt::AlignVCenter;
        switch (Alignment()) {
        case TAlignment::taRightJustify:
            textArea = area.adjusted(0, 0, -3, 0);
            flags |= Qt::AlignRight;
            break;
        case TAlignment::taCenter:
            flags |= Qt::AlignHCenter;
            break;
        default:
            flags |= Qt::AlignLeft;
            break;
        }
        painter.save();
        painter.setClipRect(area);
        painter.drawText(textArea, flags, QString::fromStdString(Text()));
        painter.restore();
        if (highlighted) {
            // A dotted rectangle in the text colour: styles draw theirs in the
            // highlight colour, which vanishes on the highlighted area.
            painter.setPen(QPen(pal.color(QPalette::HighlightedText), 1, Qt::DotLine));
            painter.drawRect(area.adjusted(0, 0, -1, -1));
        }

        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = buttonRect();
        if (!isEnabled() || !ListActive())
            button.state &= ~QStyle::State_Enabled;
        button.state |= buttonPressed_ ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawControl(QStyle::CE_PushButtonBevel, &button, &painter, this);
        QStyleOption arrow = button;
        const int side = std::min(button.rect.width(), button.rect.height()) / 2;
        arrow.rect = QRect(0, 0, side, side);
        arrow.rect.moveCenter(button.rect.center() + (buttonPressed_ ? QPoint(1, 1) : QPoint()));
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    });
}
