#include "DrawingFont.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

const DrawingFont& DrawingFont::of(const PageFont& font)
{
    static auto* fonts = new std::map<std::tuple<std::string, int, int, bool, bool, bool>, DrawingFont>();
    const auto key = std::make_tuple(font.family, std::clamp(font.height, 1, 10000), font.weight, font.italic,
                                     font.underline, font.strikeOut);
    auto found = fonts->find(key);
    if (found != fonts->end())
        return found->second;
    DrawingFont made;
    made.pixelSize = std::get<1>(key);
    made.font = QFont(QString::fromStdString(font.family));
    made.font.setPixelSize(made.pixelSize);
    made.font.setWeight(font.weight >= 600 ? QFont::Bold : QFont::Normal);
    made.font.setItalic(font.italic);
    made.font.setUnderline(font.underline);
    made.font.setStrikeOut(font.strikeOut);
    made.font.setHintingPreference(QFont::PreferNoHinting);
    made.raw = QRawFont::fromFont(made.font);
    const QFontMetricsF metrics(made.font);
    made.ascent = metrics.ascent();
    made.descent = metrics.descent();
    if (fonts->size() > 256)
        fonts->clear();
    return fonts->emplace(key, std::move(made)).first->second;
}

QPointF DrawingFont::start(const PageText& text, double width) const
{
    double x = text.origin.x;
    const unsigned h = text.align & PageTextAlign::HorizontalMask;
    if (h == PageTextAlign::Center)
        x -= width / 2;
    else if (h == PageTextAlign::Right)
        x -= width;
    double y = text.origin.y;
    const unsigned v = text.align & PageTextAlign::VerticalMask;
    if (v == PageTextAlign::Top)
        y += ascent;
    else if (v == PageTextAlign::Bottom)
        y -= descent;
    return {x, y};
}

InkedAreas::Area DrawingFont::inkOf(QPointF start, double width) const
{
    const double spill = ascent / 2 + 1;
    return {std::llround(std::floor(start.x() - spill)), std::llround(std::floor(start.y() - ascent - spill)),
            std::llround(std::ceil(start.x() + width + spill)), std::llround(std::ceil(start.y() + descent + spill))};
}
