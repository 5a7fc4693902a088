#include "TNavButton.h"

#include "HandlerGuard.h"
#include "NavigatorGlyphs.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

const char* const glyphNames[navigateButtonCount] = {"FIRST",  "PRIOR", "NEXT", "LAST",   "INSERT",
                                                     "DELETE", "EDIT",  "POST", "CANCEL", "REFRESH"};

struct Glyphs {
    QImage enabled, disabled;
};

// Drawn once per button kind: start-up makes eight navigators of ten buttons.
const Glyphs& glyphsOf(TNavigateBtn index)
{
    static Glyphs drawn[navigateButtonCount];
    Glyphs& glyphs = drawn[index];
    if (glyphs.enabled.isNull()) {
        const QString name = QStringLiteral("dbn_%1").arg(QLatin1String(glyphNames[index]));
        const QImage strip = NavigatorGlyphs::bitmap(name);
        const int width = NavigatorGlyphs::imageWidth(name);
        glyphs.enabled = strip.copy(0, 0, width, strip.height());
        glyphs.disabled = strip.copy(width, 0, width, strip.height());
    }
    return glyphs;
}

}  // namespace

TNavButton::TNavButton(TNavigateBtn index, QWidget* parent)
    : QWidget(parent), index_(index), timer_(ControlTimer::create())
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    enabledGlyph_ = glyphsOf(index).enabled;
    disabledGlyph_ = glyphsOf(index).disabled;
    timer_->onTimeout = [this] { repeat(); };
}

void TNavButton::setRepeatTimer(std::unique_ptr<ControlTimer> timer)
{
    timer_ = std::move(timer);
    timer_->onTimeout = [this] { repeat(); };
}

void TNavButton::setFlat(bool flat)
{
    flat_ = flat;
    update();
}

void TNavButton::setFocusMark(bool mark)
{
    focusMark_ = mark;
    update();
}

void TNavButton::click()
{
    if (onClick)
        onClick(index_);
}

// A tick of the auto-repeat: from now on every 100 ms, clicking while held.
void TNavButton::repeat()
{
    if (!pressed_ || !isEnabled()) {
        timer_->stop();
        return;
    }
    if (timer_->interval() != nextRepeats)
        timer_->start(nextRepeats);
    if (!down_)
        return;
    try {
        click();
    } catch (...) {
        timer_->stop();
        throw;
    }
}

void TNavButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    pressed_ = true;
    down_ = true;
    if (repeats())
        timer_->start(firstRepeat);
    update();
}

void TNavButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_)
        return;
    const bool over = rect().contains(event->position().toPoint());
    if (over != down_) {
        down_ = over;
        update();
    }
}

void TNavButton::mouseReleaseEvent(QMouseEvent* event)
{
    guardedEvent(event, [&] {
        if (event->button() != Qt::LeftButton || !pressed_)
            return;
        timer_->stop();
        const bool clicked = down_ && isEnabled();
        pressed_ = false;
        down_ = false;
        update();
        if (clicked)
            click();
    });
}

void TNavButton::enterEvent(QEnterEvent*)
{
    hovered_ = true;
    update();
}

void TNavButton::leaveEvent(QEvent*)
{
    hovered_ = false;
    update();
}

void TNavButton::changeEvent(QEvent* event)
{
    // A button disabled while held (the end of the table) stops repeating.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        timer_->stop();
        pressed_ = false;
        down_ = false;
    }
    QWidget::changeEvent(event);
}

void TNavButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= down_ ? QStyle::State_Sunken : QStyle::State_Raised;
    if (!flat_ || hovered_ || down_)
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    const QImage& glyph = isEnabled() ? enabledGlyph_ : disabledGlyph_;
    const int shift = down_ ? 1 : 0;
    const QPoint at((width() - glyph.width()) / 2 + shift, (height() - glyph.height()) / 2 + shift);
    painter.drawImage(at, glyph);
    if (focusMark_) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3 + shift, 3 + shift, -3 + shift, -3 + shift);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
