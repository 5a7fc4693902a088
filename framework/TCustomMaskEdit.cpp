#include "TCustomMaskEdit.h"

#include "HandlerGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// Margins between the frame's contents and the text, as a line edit has.
constexpr int horizontalMargin = 2;
constexpr int verticalMargin = 1;

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// UTF-16 index of the code point index in text.
int utf16Index(const QString& text, int codePoint)
{
    int index = 0;
    for (int n = 0; n < codePoint && index < text.size(); ++n)
        index += text.at(index).isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    return index;
}

}  // namespace

TCustomMaskEdit::TCustomMaskEdit(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression, false);
    setCursor(Qt::IBeamCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setBackgroundRole(QPalette::Base);
    editor_.setModifyCheck([this] { return canModify(); });
    editor_.setBeepHandler([] { QApplication::beep(); });
    editor_.setChangeHandler([this] {
        update();
        change();
    });
}

QString TCustomMaskEdit::editMask() const
{
    return fromUtf8(editor_.editMask());
}

void TCustomMaskEdit::setEditMask(const QString& mask)
{
    editor_.setEditMask(mask.toStdString());
    update();
}

QString TCustomMaskEdit::text() const
{
    return fromUtf8(editor_.text());
}

void TCustomMaskEdit::setText(const QString& text)
{
    editor_.setText(text.toStdString());
    update();
}

QString TCustomMaskEdit::editText() const
{
    return fromUtf8(editor_.editText());
}

void TCustomMaskEdit::setEditText(const QString& text)
{
    editor_.setEditText(text.toStdString());
    update();
}

int TCustomMaskEdit::maxLength() const
{
    return editor_.maxLength();
}

void TCustomMaskEdit::setMaxLength(int length)
{
    editor_.setMaxLength(length);
}

void TCustomMaskEdit::setReadOnly(bool readOnly)
{
    editor_.setReadOnly(readOnly);
    update();
}

void TCustomMaskEdit::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

void TCustomMaskEdit::selectAll()
{
    editor_.selectAll();
    update();
}

void TCustomMaskEdit::validateEdit()
{
    try {
        editor_.validate();
    } catch (...) {
        // The box keeps the focus; taking it back from inside a focus-out
        // is fine, the focus change in progress then ends here.
        if (!hasFocus())
            setFocus(Qt::OtherFocusReason);
        update();
        throw;
    }
}

void TCustomMaskEdit::reset()
{
    editor_.restoreOldValue();
    update();
}

void TCustomMaskEdit::change()
{
    emit changed();
}

void TCustomMaskEdit::doEnter()
{
    editor_.enter();
}

void TCustomMaskEdit::doExit()
{
    validateEdit();
}

// ---- keys ----

bool TCustomMaskEdit::isEditingKey(QKeyEvent* event) const
{
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        return isMasked();
    default:
        break;
    }
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return !event->text().isEmpty() && !(event->modifiers() & commands) && event->text().at(0).isPrint();
}

bool TCustomMaskEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ours = key->key() == Qt::Key_Escape
                              ? claimsEscape()
                              : key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut) ||
                                    key->matches(QKeySequence::Paste) || key->matches(QKeySequence::SelectAll) ||
                                    isEditingKey(key);
        if (ours) {
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

bool TCustomMaskEdit::handleStandardKey(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->matches(QKeySequence::Cut))
        cut();
    else if (event->matches(QKeySequence::Paste))
        paste();
    else if (event->matches(QKeySequence::SelectAll))
        selectAll();
    else
        return false;
    return true;
}

void TCustomMaskEdit::keyPressEvent(QKeyEvent* event)
{
    guardedEvent(event, [&] {
        if (handleStandardKey(event)) {
            event->accept();
            update();
            return;
        }
        using Key = MaskEditor::Key;
        const bool shift = event->modifiers() & Qt::ShiftModifier;
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        bool consumed = true;
        switch (event->key()) {
        case Qt::Key_Escape:
            consumed = claimsEscape();
            if (consumed)
                reset();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Validated here, then left to the window (a default button).
            event->ignore();
            validateEdit();
            consumed = false;
            break;
        case Qt::Key_Backspace:
            editor_.pressKey(Key::Backspace);
            break;
        case Qt::Key_Delete:
            editor_.pressKey(Key::Delete);
            break;
        case Qt::Key_Left:
            editor_.pressKey(Key::Left, shift, ctrl);
            break;
        case Qt::Key_Right:
            editor_.pressKey(Key::Right, shift, ctrl);
            break;
        case Qt::Key_Home:
            editor_.pressKey(Key::Home, shift, ctrl);
            break;
        case Qt::Key_End:
            editor_.pressKey(Key::End, shift, ctrl);
            break;
        case Qt::Key_Up:
            consumed = editor_.pressKey(Key::Up);
            break;
        case Qt::Key_Down:
            consumed = editor_.pressKey(Key::Down);
            break;
        default: {
            consumed = false;
            for (char32_t c : event->text().toStdU32String())
                consumed = editor_.typeChar(c) || consumed;
            break;
        }
        }
        event->setAccepted(consumed);
        update();
    });
}

void TCustomMaskEdit::inputMethodEvent(QInputMethodEvent* event)
{
    guardedEvent(event, [&] {
        editor_.typeText(event->commitString().toStdString());
        event->accept();
        update();
    });
}

QVariant TCustomMaskEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return !isReadOnly();
    case Qt::ImCursorRectangle: {
        const QRect r = textRect();
        const QString shown = shownText();
        const int x = r.x() - textOffset(shown, r.width()) + advanceTo(shown, editor_.cursor());
        return QRect(x, r.y(), 1, r.height());
    }
    default:
        return QWidget::inputMethodQuery(query);
    }
}

void TCustomMaskEdit::copy() const
{
    const std::string selected = editor_.selectedText();
    if (!selected.empty())
        QGuiApplication::clipboard()->setText(fromUtf8(selected));
}

void TCustomMaskEdit::cut()
{
    const std::string removed = editor_.cut();
    if (!removed.empty())
        QGuiApplication::clipboard()->setText(fromUtf8(removed));
}

void TCustomMaskEdit::paste()
{
    editor_.paste(QGuiApplication::clipboard()->text().toStdString());
}

// ---- focus and mouse ----

void TCustomMaskEdit::focusInEvent(QFocusEvent* event)
{
    guardedEvent(event, [&] {
        QWidget::focusInEvent(event);
        // Switching windows or opening a menu is no entry into the box,
        // unless the box was never entered: the focus was put here while
        // the window was inactive (behind a message box), and arrives now.
        const Qt::FocusReason reason = event->reason();
        const bool switching = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        if (!switching || !entered_) {
            entered_ = true;
            doEnter();
            if (!isMasked() && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
                editor_.selectAll();
        }
        update();
    });
}

void TCustomMaskEdit::focusOutEvent(QFocusEvent* event)
{
    guardedEvent(event, [&] { leaveBox(event); });
}

void TCustomMaskEdit::leaveBox(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    try {
        doExit();
    } catch (...) {
        // Whatever refused the exit, the box keeps the focus; the error goes
        // on to the error box where Qt called in.
        if (!hasFocus())
            setFocus(Qt::OtherFocusReason);
        throw;
    }
    entered_ = false;
    emit exited();
}

int TCustomMaskEdit::boundaryAt(int x) const
{
    const QRect r = textRect();
    const QString shown = shownText();
    const int local = x - r.x() + textOffset(shown, r.width());
    const int count = static_cast<int>(editor_.edit().size());
    int best = 0;
    for (int i = 1; i <= count; ++i) {
        if (std::abs(advanceTo(shown, i) - local) < std::abs(advanceTo(shown, best) - local))
            best = i;
    }
    return best;
}

int TCustomMaskEdit::positionAt(const QPoint& point) const
{
    if (!isMasked())
        return boundaryAt(point.x());
    const QRect r = textRect();
    const QString shown = shownText();
    const int local = point.x() - r.x() + textOffset(shown, r.width());
    const int width = editor_.mask().width();
    for (int i = 0; i < width; ++i) {
        if (local < advanceTo(shown, i + 1))
            return i;
    }
    return width > 0 ? width - 1 : 0;
}

void TCustomMaskEdit::mousePressEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (event->button() != Qt::LeftButton) {
            QWidget::mousePressEvent(event);
            return;
        }
        editor_.moveCursor(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
        update();
    });
}

void TCustomMaskEdit::mouseMoveEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (!(event->buttons() & Qt::LeftButton))
            return;
        editor_.moveCursor(boundaryAt(event->position().toPoint().x()), true);
        update();
    });
}

void TCustomMaskEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        selectAll();
}

// ---- painting ----

void TCustomMaskEdit::initFrameOption(QStyleOptionFrame* option) const
{
    option->initFrom(this);
    option->rect = contentsRect();
    option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
    option->midLineWidth = 0;
    option->state |= QStyle::State_Sunken;
    if (isReadOnly())
        option->state |= QStyle::State_ReadOnly;
    option->features = QStyleOptionFrame::None;
}

QRect TCustomMaskEdit::textRect() const
{
    QStyleOptionFrame option;
    initFrameOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.adjusted(horizontalMargin, verticalMargin, -horizontalMargin, -verticalMargin);
}

QString TCustomMaskEdit::shownText() const
{
    const std::u32string& edit = editor_.edit();
    return QString::fromUcs4(edit.data(), static_cast<qsizetype>(edit.size()));
}

int TCustomMaskEdit::advanceTo(const QString& shown, int index) const
{
    return fontMetrics().horizontalAdvance(shown.left(utf16Index(shown, index)));
}

// How far the text is shifted left within the text rectangle: scrolled so
// the cursor stays visible while focused; aligned while not.
int TCustomMaskEdit::textOffset(const QString& shown, int available) const
{
    const int total = fontMetrics().horizontalAdvance(shown);
    if (!hasFocus()) {
        scroll_ = 0;
        if (total >= available)
            return 0;
        if (alignment_ & Qt::AlignRight)
            return total - available;
        if (alignment_ & Qt::AlignHCenter)
            return (total - available) / 2;
        return 0;
    }
    if (total <= available) {
        scroll_ = 0;
        return 0;
    }
    const int cursor = editor_.cursor();
    const int left = advanceTo(shown, cursor);
    const int right = isMasked() ? advanceTo(shown, cursor + 1) : left + 1;
    if (right - scroll_ > available)
        scroll_ = right - available;
    if (left < scroll_)
        scroll_ = left;
    scroll_ = std::clamp(scroll_, 0, total - available + 1);
    return scroll_;
}

void TCustomMaskEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame option;
    initFrameOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);

    const QRect r = textRect();
    painter.setClipRect(r);
    const QString shown = shownText();
    const QFontMetrics metrics = fontMetrics();
    const int x = r.x() - textOffset(shown, r.width());
    const int top = r.y() + (r.height() - metrics.height() + 1) / 2;
    const int baseline = top + metrics.ascent();
    const QPalette& palette = option.palette;
    painter.setPen(palette.color(QPalette::Text));
    painter.drawText(QPoint(x, baseline), shown);
    if (!hasFocus())
        return;

    int start = editor_.selectionStart();
    int end = start + editor_.selectionLength();
    if (start == end && isMasked() && editor_.cursor() < editor_.mask().width()) {
        start = editor_.cursor();
        end = start + 1;
    }
    if (start == end) {
        const int caret = x + advanceTo(shown, editor_.cursor());
        painter.fillRect(QRect(caret, top, 1, metrics.height()), palette.color(QPalette::Text));
        return;
    }
    const int left = x + advanceTo(shown, start);
    const int right = x + advanceTo(shown, end);
    painter.fillRect(QRect(left, top, right - left, metrics.height()), palette.highlight());
    painter.setPen(palette.color(QPalette::HighlightedText));
    const int from = utf16Index(shown, start);
    painter.drawText(QPoint(left, baseline), shown.mid(from, utf16Index(shown, end) - from));
}

QSize TCustomMaskEdit::sizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics = fontMetrics();
    const int height = std::max(metrics.height(), 14) + 2 * verticalMargin;
    const int width = metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * horizontalMargin;
    QStyleOptionFrame option;
    initFrameOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

QSize TCustomMaskEdit::minimumSizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics = fontMetrics();
    const int height = metrics.height() + 2 * verticalMargin;
    const int width = metrics.maxWidth() + 2 * horizontalMargin;
    QStyleOptionFrame option;
    initFrameOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}
