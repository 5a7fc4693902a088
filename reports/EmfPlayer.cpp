#include "EmfPlayer.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "Crc32.h"
#include "EReportError.h"
#include "EmfRecord.h"
#include "LittleEndian.h"
#include "Utf16.h"

using LittleEndian::Reader;

namespace {

constexpr size_t MaxSavedStates = 256;

using GdiObject = std::variant<std::monostate, PagePen, PageBrush, PageFont>;

struct DcState {
    PagePen pen;
    PageBrush brush;
    PageFont font;
    PageColor textColor;
    unsigned textAlign = 0;
    PagePoint position;
};

PageColor colorOf(std::uint32_t ref)
{
    return {static_cast<std::uint8_t>(ref), static_cast<std::uint8_t>(ref >> 8), static_cast<std::uint8_t>(ref >> 16)};
}

GdiObject stockObject(std::uint32_t handle)
{
    switch (handle & ~EmfRecord::StockFlag) {
    case 0:
        return PageBrush{PageColor::white(), true};
    case 1:
        return PageBrush{{192, 192, 192}, true};
    case 2:
        return PageBrush{{128, 128, 128}, true};
    case 3:
        return PageBrush{{64, 64, 64}, true};
    case 4:
        return PageBrush{PageColor::black(), true};
    case 5:
        return PageBrush{PageColor::white(), false};
    case 6:
        return PagePen{PageColor::white(), 1, true};
    case 7:
        return PagePen{PageColor::black(), 1, true};
    case 8:
        return PagePen{PageColor::black(), 1, false};
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 16:
    case 17:
        return PageFont{};
    default:
        return std::monostate{};
    }
}

class Playback {
public:
    Playback(PageCanvas& canvas, std::uint16_t handles) : canvas_(canvas), objects_(handles) {}

    void record(std::uint32_t type, const Reader& r);

private:
    void store(std::uint32_t handle, GdiObject object)
    {
        if (handle != 0 && handle < objects_.size())
            objects_[handle] = std::move(object);
    }
    void select(std::uint32_t handle);
    void remove(std::uint32_t handle)
    {
        if (handle != 0 && handle < objects_.size())
            objects_[handle] = std::monostate{};
    }
    static PageRect box(const Reader& r, size_t at)
    {
        return {r.i32(at), r.i32(at + 4), r.i32(at + 8), r.i32(at + 12)};
    }
    std::vector<PagePoint> points(const Reader& r, bool wide) const;
    void text(const Reader& r);
    void font(const Reader& r);

    PageCanvas& canvas_;
    std::vector<GdiObject> objects_;
    DcState dc_;
    std::vector<DcState> saved_;
};

void Playback::select(std::uint32_t handle)
{
    const GdiObject object = (handle & EmfRecord::StockFlag) ? stockObject(handle)
                             : handle < objects_.size()      ? objects_[handle]
                                                             : GdiObject{};
    if (auto pen = std::get_if<PagePen>(&object))
        dc_.pen = *pen;
    else if (auto brush = std::get_if<PageBrush>(&object))
        dc_.brush = *brush;
    else if (auto font = std::get_if<PageFont>(&object))
        dc_.font = *font;
}

std::vector<PagePoint> Playback::points(const Reader& r, bool wide) const
{
    const std::uint64_t count = r.u32(24);
    const std::uint64_t each = wide ? 8 : 4;
    if (count * each > r.size() - 28)
        throw EReportError("Invalid picture: point count exceeds its record");
    std::vector<PagePoint> out;
    out.reserve(static_cast<size_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 28 + i * each;
        if (wide)
            out.push_back({r.i32(at), r.i32(at + 4)});
        else
            out.push_back({r.i16(at), r.i16(at + 2)});
    }
    return out;
}

void Playback::font(const Reader& r)
{
    PageFont f;
    const std::int64_t height = r.i32(12);
    f.height = static_cast<std::int32_t>(std::min<std::int64_t>(height < 0 ? -height : height, INT32_MAX));
    f.weight = r.i32(28);
    f.italic = r.u8(32) != 0;
    f.underline = r.u8(33) != 0;
    f.strikeOut = r.u8(34) != 0;
    std::u16string face;
    for (size_t i = 0; i < 32; ++i) {
        const char16_t c = r.u16(40 + 2 * i);
        if (c == 0)
            break;
        face += c;
    }
    f.family = utf16ToUtf8(face);
    store(r.u32(8), f);
}

void Playback::text(const Reader& r)
{
    PageText t;
    t.origin = {r.i32(36), r.i32(40)};
    const std::uint64_t count = r.u32(44);
    const std::uint64_t stringAt = r.u32(48);
    const std::uint32_t options = r.u32(52);
    const std::uint64_t dxAt = r.u32(72);
    if (stringAt > r.size() || count * 2 > r.size() - stringAt)
        throw EReportError("Invalid picture: text exceeds its record");
    t.chars.reserve(static_cast<size_t>(count));
    for (size_t i = 0; i < count; ++i)
        t.chars += static_cast<char16_t>(r.u16(static_cast<size_t>(stringAt) + 2 * i));
    const std::uint64_t step = (options & 0x2000) ? 8 : 4;  // pairs of x and y advances
    if (dxAt != 0 && dxAt <= r.size() && count * step <= r.size() - dxAt) {
        t.advances.reserve(static_cast<size_t>(count));
        for (size_t i = 0; i < count; ++i)
            t.advances.push_back(r.i32(static_cast<size_t>(dxAt + i * step)));
    }
    t.align = dc_.textAlign & (PageTextAlign::HorizontalMask | PageTextAlign::VerticalMask);
    t.color = dc_.textColor;
    canvas_.text(t, dc_.font);
}

void Playback::record(std::uint32_t type, const Reader& r)
{
    namespace E = EmfRecord;
    switch (type) {
    case E::SetTextAlign:
        dc_.textAlign = r.u32(8);
        break;
    case E::SetTextColor:
        dc_.textColor = colorOf(r.u32(8));
        break;
    case E::SelectObject:
        select(r.u32(8));
        break;
    case E::DeleteObject:
        remove(r.u32(8));
        break;
    case E::CreatePen: {
        const bool visible = (r.u32(12) & 0xF) != E::PenNull;
        store(r.u32(8), PagePen{colorOf(r.u32(24)), r.i32(16), visible});
        break;
    }
    case E::ExtCreatePen: {
        const bool visible = (r.u32(28) & 0xF) != E::PenNull;
        store(r.u32(8), PagePen{colorOf(r.u32(40)), r.i32(32), visible});
        break;
    }
    case E::CreateBrushIndirect:
        store(r.u32(8), PageBrush{colorOf(r.u32(16)), r.u32(12) != E::BrushNull});
        break;
    case E::ExtCreateFontIndirectW:
        font(r);
        break;
    case E::Rectangle:
        canvas_.rectangle(box(r, 8), dc_.pen, dc_.brush);
        break;
    case E::Ellipse:
        canvas_.ellipse(box(r, 8), dc_.pen, dc_.brush);
        break;
    case E::MoveToEx:
        dc_.position = {r.i32(8), r.i32(12)};
        break;
    case E::LineTo: {
        const PagePoint to{r.i32(8), r.i32(12)};
        canvas_.polyline({dc_.position, to}, dc_.pen);
        dc_.position = to;
        break;
    }
    case E::Polyline16:
        canvas_.polyline(points(r, false), dc_.pen);
        break;
    case E::Polyline:
        canvas_.polyline(points(r, true), dc_.pen);
        break;
    case E::Polygon16:
        canvas_.polygon(points(r, false), dc_.pen, dc_.brush);
        break;
    case E::Polygon:
        canvas_.polygon(points(r, true), dc_.pen, dc_.brush);
        break;
    case E::ExtTextOutW:
        text(r);
        break;
    case E::SaveDC:
        if (saved_.size() < MaxSavedStates)
            saved_.push_back(dc_);
        break;
    case E::RestoreDC: {
        const std::int32_t back = r.i32(8);
        if (back < 0 && static_cast<size_t>(-static_cast<std::int64_t>(back)) <= saved_.size()) {
            saved_.resize(saved_.size() - static_cast<size_t>(-static_cast<std::int64_t>(back)) + 1);
            dc_ = saved_.back();
            saved_.pop_back();
        }
        break;
    }
    default:
        break;  // not drawing anything we show
    }
}

// Draws nothing: playing onto it reads and checks every record.
class NoCanvas : public PageCanvas {
public:
    void rectangle(const PageRect&, const PagePen&, const PageBrush&) override {}
    void ellipse(const PageRect&, const PagePen&, const PageBrush&) override {}
    void polyline(const std::vector<PagePoint>&, const PagePen&) override {}
    void polygon(const std::vector<PagePoint>&, const PagePen&, const PageBrush&) override {}
    void text(const PageText&, const PageFont&) override {}
};

[[noreturn]] void lyingSize()
{
    throw EReportError("Invalid picture: a record lies about its size");
}

}  // namespace

EmfPictureInfo EmfPlayer::info(std::span<const std::uint8_t> bytes)
{
    Reader r(bytes, "picture");
    if (!r.has(0, 88) || r.u32(0) != EmfRecord::Header || r.u32(40) != EmfRecord::Signature)
        throw EReportError("Invalid picture: not an enhanced metafile");
    const std::uint32_t size = r.u32(4);
    if (size < 88 || size > bytes.size())
        throw EReportError("Invalid picture: header size is wrong");
    EmfPictureInfo info;
    info.bounds = {r.i32(8), r.i32(12), r.i32(16), r.i32(20)};
    info.frame = {r.i32(24), r.i32(28), r.i32(32), r.i32(36)};
    info.handles = r.u16(56);
    return info;
}

void EmfPlayer::play(std::span<const std::uint8_t> bytes, PageCanvas& canvas)
{
    const EmfPictureInfo header = info(bytes);
    Playback playback(canvas, header.handles);
    size_t at = 0;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t type = LittleEndian::get32(bytes.data() + at);
        const std::uint32_t size = LittleEndian::get32(bytes.data() + at + 4);
        if (size < 8 || size % 4 != 0 || size > bytes.size() - at)
            lyingSize();
        if (type == EmfRecord::Eof)
            return;
        playback.record(type, Reader(bytes.subspan(at, size), "picture record"));
        at += size;
    }
    if (at != bytes.size())
        lyingSize();
}

// The seal, then the end record, close a picture of our writer.
bool EmfPlayer::sealed(std::span<const std::uint8_t> bytes)
{
    constexpr size_t tail = EmfRecord::SealSize + 20;
    if (bytes.size() < EmfRecord::HeaderSize + tail)
        return false;
    const std::uint8_t* seal = bytes.data() + bytes.size() - tail;
    const std::uint32_t expected[] = {EmfRecord::Comment, EmfRecord::SealSize, 8, EmfRecord::SealTag};
    for (size_t i = 0; i < std::size(expected); ++i)
        if (LittleEndian::get32(seal + 4 * i) != expected[i])
            return false;
    const std::uint32_t end[] = {EmfRecord::Eof, 20, 0, 16, 20};
    for (size_t i = 0; i < std::size(end); ++i)
        if (LittleEndian::get32(seal + EmfRecord::SealSize + 4 * i) != end[i])
            return false;
    return true;
}

void EmfPlayer::check(std::span<const std::uint8_t> bytes, bool mustBeSealed)
{
    if (!mustBeSealed) {
        NoCanvas nothing;
        play(bytes, nothing);
        return;
    }
    // What the seal sums up is what our writer wrote, record sizes and all.
    const size_t sealAt = bytes.size() - EmfRecord::SealSize - 20;
    if (!sealed(bytes))
        throw EReportError("Invalid picture: its seal is missing or damaged");
    if (LittleEndian::get32(bytes.data() + sealAt + 16) != Crc32::of(bytes.first(sealAt)))
        throw EReportError("Invalid picture: its bytes do not match their seal");
    info(bytes);
}
