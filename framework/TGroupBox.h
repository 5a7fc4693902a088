#pragma once
#include <QGroupBox>

// A captioned frame around other controls. The caption sits on the frame's
// top line (the line runs at half the caption's height), so the children,
// placed in the box's own coordinates, keep the places they were designed
// at; the toolkit's own group box puts its title above the frame instead.
class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int captionLeft = 8;

    explicit TGroupBox(QWidget* parent = nullptr);
    TGroupBox(const QString& caption, QWidget* parent);

    // Where the caption is drawn, in the box's coordinates (empty without one).
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
