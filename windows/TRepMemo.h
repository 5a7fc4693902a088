#pragma once
#include "TRepTypes.h"

#include <QColor>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <vector>

class QScrollBar;

// The report engine's multi-line text control placed directly on a window.
// It lays its lines out as a text on a report band is laid out (split at
// line breaks, one text line high each, aligned as set) and paints them on
// its own white rectangle with a small corner mark at each corner. The
// user cannot select or edit the text. When the lines are taller than the
// control, a scroll bar appears right of the text and the text scrolls by
// whole lines (wheel, arrow keys, Page Up/Down, Home/End); otherwise the
// control takes no focus and shows no scroll bar.
class TRepMemo : public QWidget {
    Q_OBJECT
public:
    explicit TRepMemo(QWidget* parent = nullptr);

    QStringList Lines() const { return lines_; }
    void SetLines(const QStringList& lines);
    TRepAlignment Alignment() const { return alignment_; }
    void SetAlignment(TRepAlignment alignment);
    // Point size in the window's face.
    int FontSize() const { return fontSize_; }
    void SetFontSize(int points);
    // With AutoSize each line stays whole and the width follows the widest
    // line: the left edge stays for left alignment, the right edge for
    // right alignment, the centre for centring.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    bool Transparent = false;
    bool AutoStretch = false;  // on a window there is no band to stretch into
    bool AlignToBand = false;
    QColor Color = Qt::white;

    // The designed rectangle, in the parent's client coordinates; AutoSize
    // may change the width actually taken.
    void SetBounds(int left, int top, int width, int height);

    // The lines as laid out, and how many of them fit the height.
    const std::vector<QString>& LaidOutLines() const { return laidOut_; }
    int VisibleLineCount() const;
    // The first laid-out line shown (0 unless scrolled).
    int TopLine() const { return topLine_; }
    // True when the lines are taller than the control and it scrolls.
    bool Scrolls() const;
    // Where the text is painted: the control less its scroll bar.
    QRect TextRect() const { return QRect(0, 0, textWidth_, height()); }
    // The scroll bar's width, taken right of the text while it is shown.
    int ScrollBarWidth() const;
    // One text line: the cell height of "W".
    int LineHeight() const;
    // Where line i starts, in the control's coordinates.
    int LineLeft(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void relayout();
    void placeScrollBar(int fit);
    void scrollTo(int line);
    void paintCornerMarks(class QPainter& painter) const;

    QStringList lines_;
    TRepAlignment alignment_ = TRepAlignment::taLeftJustify;
    int fontSize_ = 8;
    bool autoSize_ = true;
    bool wordWrap_ = true;
    QRect designed_;
    std::vector<QString> laidOut_;
    bool relayingOut_ = false;
    QScrollBar* scrollBar_;
    int topLine_ = 0;
    int textWidth_ = 0;
    int wheelDelta_ = 0;  // wheel turn not yet worth a line
};
