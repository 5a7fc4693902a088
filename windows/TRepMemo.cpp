#include "TRepMemo.h"

#include "TextLayout.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr double screenPixelsPerInch = 96;
constexpr int cornerMark = 4;

// Measures in screen pixels with the control's own font: the layout only
// compares widths, so any one unit serves.
class PixelMeasurer : public TextMeasurer {
public:
    explicit PixelMeasurer(const QFont& font) : metrics_(font) {}

    std::vector<double> advances(const ReportFont&, std::u16string_view text) const override
    {
        std::vector<double> out;
        out.reserve(text.size());
        for (char16_t c : text)
            out.push_back(metrics_.horizontalAdvance(QChar(c)));
        return out;
    }
    double lineHeight(const ReportFont&) const override { return metrics_.height(); }

private:
    QFontMetricsF metrics_;
};

std::u16string toU16(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
}

QString fromU16(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

}  // namespace

TRepMemo::TRepMemo(QWidget* parent) : QWidget(parent), scrollBar_(new QScrollBar(Qt::Vertical, this))
{
    setFocusPolicy(Qt::NoFocus);
    scrollBar_->setObjectName(QStringLiteral("scrollBar"));
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int line) {
        topLine_ = line;
        update();
    });
    SetFontSize(fontSize_);
}

void TRepMemo::SetLines(const QStringList& lines)
{
    lines_ = lines;
    relayout();
}

void TRepMemo::SetAlignment(TRepAlignment alignment)
{
    alignment_ = alignment;
    relayout();
}

void TRepMemo::SetFontSize(int points)
{
    fontSize_ = points;
    // The face stays the window's; only the size is the control's own.
    QFont f = font();
    f.setPixelSize(int(std::lround(points * screenPixelsPerInch / 72)));
    setFont(f);
    relayout();
}

void TRepMemo::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    relayout();
}

void TRepMemo::SetWordWrap(bool wordWrap)
{
    wordWrap_ = wordWrap;
    relayout();
}

void TRepMemo::SetBounds(int left, int top, int width, int height)
{
    designed_ = QRect(left, top, width, height);
    relayout();
}

int TRepMemo::LineHeight() const
{
    return QFontMetrics(font()).height();
}

int TRepMemo::VisibleLineCount() const
{
    const int fit = height() / std::max(1, LineHeight());
    return std::min(fit, int(laidOut_.size()) - topLine_);
}

bool TRepMemo::Scrolls() const
{
    return !scrollBar_->isHidden();
}

int TRepMemo::ScrollBarWidth() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrollBar_);
}

int TRepMemo::LineLeft(int index) const
{
    const QString& line = laidOut_.at(std::size_t(index));
    const int room = textWidth_ - QFontMetrics(font()).horizontalAdvance(line);
    switch (alignment_) {
    case TRepAlignment::taRightJustify:
        return room;
    case TRepAlignment::taCenter:
        return room / 2;
    case TRepAlignment::taLeftJustify:
        break;
    }
    return 0;
}

void TRepMemo::relayout()
{
    if (relayingOut_)
        return;
    relayingOut_ = true;
    // The lines are laid out one by one, so an empty line keeps its row.
    const PixelMeasurer measurer(font());
    laidOut_.clear();
    double widest = 0;
    for (const QString& line : lines_) {
        const TextLayout layout =
            TextLayout::make(toU16(line), ReportFont{}, measurer, designed_.width(), autoSize_, wordWrap_);
        for (const std::u16string& l : layout.lines)
            laidOut_.push_back(fromU16(l));
        widest = std::max(widest, layout.widest);
    }
    QRect r = designed_;
    if (autoSize_ && !lines_.isEmpty()) {
        const int w = int(std::ceil(widest));
        if (alignment_ == TRepAlignment::taRightJustify)
            r.setLeft(designed_.right() + 1 - w);
        else if (alignment_ == TRepAlignment::taCenter)
            r.setLeft(designed_.left() + (designed_.width() - w) / 2);
        r.setWidth(w);
    }
    textWidth_ = r.width();
    const int fit = r.height() / std::max(1, LineHeight());
    if (int(laidOut_.size()) > fit)
        r.setWidth(r.width() + ScrollBarWidth());
    setGeometry(r);
    placeScrollBar(fit);
    relayingOut_ = false;
    update();
}

void TRepMemo::placeScrollBar(int fit)
{
    const int hidden = std::max(0, int(laidOut_.size()) - fit);
    scrollBar_->setRange(0, hidden);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(std::max(1, fit));
    scrollBar_->setGeometry(textWidth_, 0, ScrollBarWidth(), height());
    scrollBar_->setVisible(hidden > 0);
    // Only a text that scrolls takes the focus, so the keys can scroll it.
    setFocusPolicy(hidden > 0 ? Qt::StrongFocus : Qt::NoFocus);
    topLine_ = scrollBar_->value();
}

void TRepMemo::scrollTo(int line)
{
    scrollBar_->setValue(line);  // clamps to the range
}

void TRepMemo::keyPressEvent(QKeyEvent* event)
{
    const int page = scrollBar_->pageStep();
    switch (event->key()) {
    case Qt::Key_Up:
        scrollTo(topLine_ - 1);
        break;
    case Qt::Key_Down:
        scrollTo(topLine_ + 1);
        break;
    case Qt::Key_PageUp:
        scrollTo(topLine_ - page);
        break;
    case Qt::Key_PageDown:
        scrollTo(topLine_ + page);
        break;
    case Qt::Key_Home:
        scrollTo(0);
        break;
    case Qt::Key_End:
        scrollTo(scrollBar_->maximum());
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TRepMemo::wheelEvent(QWheelEvent* event)
{
    if (!Scrolls()) {
        event->ignore();
        return;
    }
    // A notch is 120; a touch pad sends smaller steps, kept until a line's worth.
    wheelDelta_ += event->angleDelta().y() * QApplication::wheelScrollLines();
    const int lines = wheelDelta_ / 120;
    wheelDelta_ -= lines * 120;
    scrollTo(topLine_ - lines);
    event->accept();
}

void TRepMemo::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
}

void TRepMemo::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!Transparent)
        painter.fillRect(TextRect(), Color);
    paintCornerMarks(painter);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int lineHeight = LineHeight();
    const int ascent = QFontMetrics(font()).ascent();
    for (int i = 0; i < VisibleLineCount(); ++i)
        painter.drawText(LineLeft(topLine_ + i), i * lineHeight + ascent, laidOut_[std::size_t(topLine_ + i)]);
}

void TRepMemo::paintCornerMarks(QPainter& painter) const
{
    const int right = textWidth_ - 1;
    const int bottom = height() - 1;
    const int reach = cornerMark - 1;
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(0, 0, reach, 0);
    painter.drawLine(0, 0, 0, reach);
    painter.drawLine(right, 0, right - reach, 0);
    painter.drawLine(right, 0, right, reach);
    painter.drawLine(0, bottom, reach, bottom);
    painter.drawLine(0, bottom, 0, bottom - reach);
    painter.drawLine(right, bottom, right - reach, bottom);
    painter.drawLine(right, bottom, right, bottom - reach);
}
