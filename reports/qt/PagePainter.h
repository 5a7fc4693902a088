#pragma once
#include <QPainter>
#include <QRectF>
#include <cstdint>
#include <span>

// Paints one stored page picture scaled into a rectangle of a painter: the
// preview's page view and the printer both draw pages with it. Raises
// EReportError when the picture cannot be read (what was readable is drawn).
namespace PagePainter {
void paint(QPainter& painter, std::span<const std::uint8_t> picture, const QRectF& target);
}  // namespace PagePainter
