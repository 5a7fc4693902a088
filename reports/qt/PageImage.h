#pragma once
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
    std::optional<std::vector<std::uint8_t>> picture_;
};
