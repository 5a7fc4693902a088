#pragma once
#include "ControlTimer.h"
#include "TNavigateBtn.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

// One button of the navigator: a speed button that never takes the focus,
// clicks when the left button is released over it and, for prior and next,
// repeats while held (first after 400 ms, then every 100 ms).
class TNavButton : public QWidget {
    Q_OBJECT

public:
    static constexpr int firstRepeat = 400;
    static constexpr int nextRepeats = 100;

    TNavButton(TNavigateBtn index, QWidget* parent);

    TNavigateBtn index() const { return index_; }
    bool repeats() const { return index_ == nbPrior || index_ == nbNext; }
    // Pressed with the pointer over it.
    bool isDown() const { return down_; }
    void setFlat(bool flat);
    // Drawn with the navigator's focus mark (only when it has the focus).
    void setFocusMark(bool mark);

    // What a click does; errors propagate to the caller's event handler.
    std::function<void(TNavigateBtn)> onClick;

    void setRepeatTimer(std::unique_ptr<ControlTimer> timer);
    ControlTimer& repeatTimer() { return *timer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void click();
    void repeat();

    TNavigateBtn index_;
    QImage enabledGlyph_;
    QImage disabledGlyph_;
    bool pressed_ = false;  // the left button went down here and is held
    bool down_ = false;
    bool flat_ = false;
    bool hovered_ = false;
    bool focusMark_ = false;
    std::unique_ptr<ControlTimer> timer_;
};
