#include "TGroupBox.h"

#include <QFontMetrics>
#include <QPainter>

TGroupBox::TGroupBox(QWidget* parent) : QGroupBox(parent)
{
}

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent)
{
}

QRect TGroupBox::captionRect() const
{
    if (title().isEmpty())
        return {};
    const QFontMetrics metrics(font());
    return QRect(captionLeft, 0, metrics.horizontalAdvance(title()) + 2, metrics.height());
}

void TGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int top = QFontMetrics(font()).height() / 2;
    // An etched line: shadow, with the light line one pixel in and down.
    const QRect frame(0, top, width() - 1, height() - top - 1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));

    const QRect caption = captionRect();
    if (caption.isEmpty())
        return;
    painter.fillRect(caption, palette().color(backgroundRole()));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, title());
}
