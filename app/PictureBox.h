#pragma once
#include <QImage>
#include <QWidget>

class JpegImage;

// A picture control: draws its picture at natural size from its top-left
// corner, neither stretched nor centred. It fills no background of its own,
// so the window shows through where the picture does not reach.
class PictureBox : public QWidget {
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const JpegImage& picture);
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};
