#include "EmfWriter.h"

#include <algorithm>
#include <cmath>

#include "Crc32.h"
#include "EmfRecord.h"
#include "LittleEndian.h"
#include "Utf16.h"

using namespace LittleEndian;

namespace {

// Each kind of object alternates between two handle slots so the new one is
// selected before the old one is deleted.
constexpr std::uint32_t PenSlots[2] = {1, 2};
constexpr std::uint32_t BrushSlots[2] = {3, 4};
constexpr std::uint32_t FontSlots[2] = {5, 6};
constexpr std::uint16_t HandleCount = 7;

std::uint32_t colorRef(const PageColor& c)
{
    return std::uint32_t(c.r) | std::uint32_t(c.g) << 8 | std::uint32_t(c.b) << 16;
}

std::uint32_t nextSlot(const std::uint32_t (&slots)[2], std::uint32_t current)
{
    return current == slots[0] ? slots[1] : slots[0];
}

}  // namespace

EmfWriter::EmfWriter(double widthTenthsMm, double heightTenthsMm, double pixelsPerInch,
                     std::vector<std::uint8_t> storage)
    : widthPx_(static_cast<std::int32_t>(std::lround(widthTenthsMm * pixelsPerInch / 254.0))),
      heightPx_(static_cast<std::int32_t>(std::lround(heightTenthsMm * pixelsPerInch / 254.0))),
      widthTenthsMm_(widthTenthsMm), heightTenthsMm_(heightTenthsMm), bytes_(std::move(storage))
{
    widthPx_ = std::max(widthPx_, 1);
    heightPx_ = std::max(heightPx_, 1);
    bytes_.clear();
    bytes_.reserve(4096);
    begin(EmfRecord::Header, EmfRecord::HeaderSize);
    // bounds, inclusive
    put32(bytes_, 0);
    put32(bytes_, 0);
    put32(bytes_, widthPx_ - 1);
    put32(bytes_, heightPx_ - 1);
    // frame in 0.01 mm
    const auto frameW = static_cast<std::uint32_t>(std::lround(widthTenthsMm * 10));
    const auto frameH = static_cast<std::uint32_t>(std::lround(heightTenthsMm * 10));
    put32(bytes_, 0);
    put32(bytes_, 0);
    put32(bytes_, frameW);
    put32(bytes_, frameH);
    put32(bytes_, EmfRecord::Signature);
    put32(bytes_, 0x10000);  // version
    put32(bytes_, 0);        // total bytes, set by finish()
    put32(bytes_, 0);        // record count, set by finish()
    put16(bytes_, HandleCount);
    put16(bytes_, 0);
    put32(bytes_, 0);
    put32(bytes_, 0);  // no description
    put32(bytes_, 0);  // no palette
    put32(bytes_, widthPx_);
    put32(bytes_, heightPx_);  // reference device in pixels
    put32(bytes_, static_cast<std::uint32_t>(std::lround(widthTenthsMm / 10)));
    put32(bytes_, static_cast<std::uint32_t>(std::lround(heightTenthsMm / 10)));
    put32(bytes_, 0);
    put32(bytes_, 0);
    put32(bytes_, 0);  // no pixel format, no OpenGL
    put32(bytes_, frameW * 10);
    put32(bytes_, frameH * 10);  // micrometres
    end();

    begin(EmfRecord::SetBkMode, 12);
    put32(bytes_, EmfRecord::Transparent);
    end();
}

void EmfWriter::begin(std::uint32_t type, std::uint32_t size)
{
    recordStart_ = bytes_.size();
    put32(bytes_, type);
    put32(bytes_, size);
}

// Pads the record to 4 bytes and stores its real size.
void EmfWriter::end()
{
    while ((bytes_.size() - recordStart_) % 4 != 0)
        bytes_.push_back(0);
    set32(bytes_, recordStart_ + 4, static_cast<std::uint32_t>(bytes_.size() - recordStart_));
    ++records_;
}

// A record of a known size, counted and filled in place: most records are.
// Returns where its parameters go.
std::uint8_t* EmfWriter::record(std::uint32_t type, std::uint32_t size)
{
    recordStart_ = bytes_.size();
    bytes_.resize(recordStart_ + size);
    std::uint8_t* at = bytes_.data() + recordStart_;
    set32(at, type);
    set32(at + 4, size);
    ++records_;
    return at + 8;
}

void EmfWriter::select(std::uint32_t handle)
{
    set32(record(EmfRecord::SelectObject, 12), handle);
}

void EmfWriter::remove(std::uint32_t handle)
{
    set32(record(EmfRecord::DeleteObject, 12), handle);
}

void EmfWriter::selectPen(const PagePen& pen)
{
    if (pen_ && *pen_ == pen)
        return;
    pen_ = pen;
    const std::uint32_t old = penSlot_;
    if (!pen.visible) {
        select(EmfRecord::NullPen);
        penSlot_ = 0;
    } else {
        penSlot_ = nextSlot(PenSlots, old);
        std::uint8_t* at = record(EmfRecord::CreatePen, 28);
        set32(at, penSlot_);
        set32(at + 4, EmfRecord::PenSolid);
        set32(at + 8, static_cast<std::uint32_t>(pen.width));
        set32(at + 12, 0);
        set32(at + 16, colorRef(pen.color));
        select(penSlot_);
    }
    if (old != 0)
        remove(old);
}

void EmfWriter::selectBrush(const PageBrush& brush)
{
    if (brush_ && *brush_ == brush)
        return;
    brush_ = brush;
    const std::uint32_t old = brushSlot_;
    if (!brush.visible) {
        select(EmfRecord::NullBrush);
        brushSlot_ = 0;
    } else {
        brushSlot_ = nextSlot(BrushSlots, old);
        std::uint8_t* at = record(EmfRecord::CreateBrushIndirect, 24);
        set32(at, brushSlot_);
        set32(at + 4, EmfRecord::BrushSolid);
        set32(at + 8, colorRef(brush.color));
        set32(at + 12, 0);
        select(brushSlot_);
    }
    if (old != 0)
        remove(old);
}

void EmfWriter::selectFont(const PageFont& font)
{
    if (font_ && *font_ == font)
        return;
    font_ = font;
    const std::uint32_t old = fontSlot_;
    fontSlot_ = nextSlot(FontSlots, old);
    begin(EmfRecord::ExtCreateFontIndirectW, 8 + 4 + EmfRecord::LogFontSize);
    put32(bytes_, fontSlot_);
    put32(bytes_, static_cast<std::uint32_t>(-font.height));  // negative: em height
    put32(bytes_, 0);                                         // width
    put32(bytes_, 0);                                         // escapement
    put32(bytes_, 0);                                         // orientation
    put32(bytes_, static_cast<std::uint32_t>(font.weight));
    bytes_.push_back(font.italic ? 1 : 0);
    bytes_.push_back(font.underline ? 1 : 0);
    bytes_.push_back(font.strikeOut ? 1 : 0);
    bytes_.push_back(1);  // default charset
    bytes_.push_back(0);  // out precision
    bytes_.push_back(0);  // clip precision
    bytes_.push_back(0);  // quality
    bytes_.push_back(0);  // pitch and family
    std::u16string face = utf8ToUtf16(font.family);
    face.resize(31);  // 32 characters with the terminating zero
    for (size_t i = 0; i < 32; ++i)
        put16(bytes_, i < face.size() ? face[i] : 0);
    end();
    select(fontSlot_);
    if (old != 0)
        remove(old);
}

void EmfWriter::setTextColor(const PageColor& color)
{
    if (textColor_ && *textColor_ == color)
        return;
    textColor_ = color;
    set32(record(EmfRecord::SetTextColor, 12), colorRef(color));
}

void EmfWriter::setTextAlign(unsigned align)
{
    if (textAlign_ && *textAlign_ == align)
        return;
    textAlign_ = align;
    set32(record(EmfRecord::SetTextAlign, 12), align);
}

void EmfWriter::boxRecord(std::uint32_t type, const PageRect& rect)
{
    std::uint8_t* at = record(type, 24);
    set32(at, static_cast<std::uint32_t>(rect.left));
    set32(at + 4, static_cast<std::uint32_t>(rect.top));
    set32(at + 8, static_cast<std::uint32_t>(rect.right));
    set32(at + 12, static_cast<std::uint32_t>(rect.bottom));
}

void EmfWriter::rectangle(const PageRect& rect, const PagePen& pen, const PageBrush& brush)
{
    selectPen(pen);
    selectBrush(brush);
    boxRecord(EmfRecord::Rectangle, rect);
}

void EmfWriter::ellipse(const PageRect& rect, const PagePen& pen, const PageBrush& brush)
{
    selectPen(pen);
    selectBrush(brush);
    boxRecord(EmfRecord::Ellipse, rect);
}

void EmfWriter::pointsRecord(std::uint32_t type16, std::uint32_t type32, const std::vector<PagePoint>& points)
{
    PageRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const PagePoint& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    const bool small =
        box.left >= INT16_MIN && box.top >= INT16_MIN && box.right <= INT16_MAX && box.bottom <= INT16_MAX;
    begin(small ? type16 : type32, 0);
    put32(bytes_, box.left);
    put32(bytes_, box.top);
    put32(bytes_, box.right);
    put32(bytes_, box.bottom);
    put32(bytes_, static_cast<std::uint32_t>(points.size()));
    for (const PagePoint& p : points) {
        if (small) {
            put16(bytes_, static_cast<std::uint16_t>(p.x));
            put16(bytes_, static_cast<std::uint16_t>(p.y));
        } else {
            put32(bytes_, p.x);
            put32(bytes_, p.y);
        }
    }
    end();
}

void EmfWriter::polyline(const std::vector<PagePoint>& points, const PagePen& pen)
{
    if (points.empty())
        return;
    selectPen(pen);
    pointsRecord(EmfRecord::Polyline16, EmfRecord::Polyline, points);
}

void EmfWriter::polygon(const std::vector<PagePoint>& points, const PagePen& pen, const PageBrush& brush)
{
    if (points.empty())
        return;
    selectPen(pen);
    selectBrush(brush);
    pointsRecord(EmfRecord::Polygon16, EmfRecord::Polygon, points);
}

void EmfWriter::text(const PageText& text, const PageFont& font)
{
    if (text.chars.empty())
        return;
    selectFont(font);
    setTextColor(text.color);
    setTextAlign(text.align);
    const auto count = static_cast<std::uint32_t>(text.chars.size());
    std::int32_t width = 0;
    for (std::int32_t a : text.advances)
        width += a;
    const std::uint32_t stringOffset = 76;
    const std::uint32_t stringBytes = (count * 2 + 3) / 4 * 4;
    const bool advances = text.advances.size() == text.chars.size();
    const std::uint32_t size = stringOffset + stringBytes + (advances ? 4 * count : 0);
    std::uint8_t* at = record(EmfRecord::ExtTextOutW, size);
    const auto put = [&at](std::uint32_t v) {
        set32(at, v);
        at += 4;
    };
    put(static_cast<std::uint32_t>(text.origin.x));
    put(static_cast<std::uint32_t>(text.origin.y));  // bounds
    put(static_cast<std::uint32_t>(text.origin.x + width));
    put(static_cast<std::uint32_t>(text.origin.y + font.height));
    put(1);  // compatible graphics mode
    put(0);  // scales, unused in that mode (0.0f)
    put(0);
    put(static_cast<std::uint32_t>(text.origin.x));
    put(static_cast<std::uint32_t>(text.origin.y));
    put(count);
    put(stringOffset);
    put(0);  // options
    put(0);
    put(0);
    put(0);
    put(0);                                          // no clip
    put(advances ? stringOffset + stringBytes : 0);  // advances follow the string
    for (char16_t c : text.chars) {
        at[0] = static_cast<std::uint8_t>(c);
        at[1] = static_cast<std::uint8_t>(c >> 8);
        at += 2;
    }
    at += stringBytes - count * 2;  // left zero
    if (advances)
        for (std::int32_t advance : text.advances)
            put(static_cast<std::uint32_t>(advance));
}

std::vector<std::uint8_t> EmfWriter::finish()
{
    if (penSlot_ != 0 || brushSlot_ != 0 || fontSlot_ != 0) {
        select(EmfRecord::BlackPen);
        select(EmfRecord::WhiteBrush);
        select(EmfRecord::SystemFont);
    }
    if (penSlot_ != 0)
        remove(penSlot_);
    if (brushSlot_ != 0)
        remove(brushSlot_);
    if (fontSlot_ != 0)
        remove(fontSlot_);
    // The header counts the seal and the end before the seal sums it up.
    const size_t sealAt = bytes_.size();
    set32(bytes_, 48, static_cast<std::uint32_t>(sealAt + EmfRecord::SealSize + 20));
    set32(bytes_, 52, records_ + 2);
    const std::uint32_t crc = Crc32::of(std::span(bytes_.data(), sealAt));
    begin(EmfRecord::Comment, EmfRecord::SealSize);
    put32(bytes_, 8);
    put32(bytes_, EmfRecord::SealTag);
    put32(bytes_, crc);
    end();
    begin(EmfRecord::Eof, 20);
    put32(bytes_, 0);
    put32(bytes_, 16);
    put32(bytes_, 20);
    end();
    records_ = 0;
    pen_.reset();
    brush_.reset();
    font_.reset();
    textColor_.reset();
    textAlign_.reset();
    penSlot_ = brushSlot_ = fontSlot_ = 0;
    return std::move(bytes_);
}
