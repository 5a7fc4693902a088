#pragma once
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

// The page inside the preview's page view: a white sheet with a black
// border and a shadow, the stored page picture stretched over it.
class PageImage : public QWidget {
    Q_OBJECT
public:
    explicit PageImage(QWidget* parent = nullptr);

    void setPicture(std::optional<std::vector<std::uint8_t>> picture);
    bool empty() const { return !picture_; }
    const std::optional<std::vector<std::uint8_t>>& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawSheet(QPainter& painter, int w, int h) const;

    std::optional<std::vector<std::uint8_t>> picture_;
    // The sheet as last drawn: the window repaints it whenever anything
    // around it changes (page counts while a run adds pages), and playing
    // a page's picture costs far more than copying pixels.
    QImage drawn_;
};
