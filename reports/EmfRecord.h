#pragma once
#include <cstdint>

// Record types and stock objects of Enhanced Metafile pictures, the subset
// the writer emits and the player understands.
namespace EmfRecord {
constexpr std::uint32_t Header = 1;
constexpr std::uint32_t Polygon = 3;
constexpr std::uint32_t Polyline = 4;
constexpr std::uint32_t Eof = 14;
constexpr std::uint32_t SetBkMode = 18;
constexpr std::uint32_t SetTextAlign = 22;
constexpr std::uint32_t SetTextColor = 24;
constexpr std::uint32_t SetBkColor = 25;
constexpr std::uint32_t MoveToEx = 27;
constexpr std::uint32_t SaveDC = 33;
constexpr std::uint32_t RestoreDC = 34;
constexpr std::uint32_t SelectObject = 37;
constexpr std::uint32_t CreatePen = 38;
constexpr std::uint32_t CreateBrushIndirect = 39;
constexpr std::uint32_t DeleteObject = 40;
constexpr std::uint32_t Ellipse = 42;
constexpr std::uint32_t Rectangle = 43;
constexpr std::uint32_t LineTo = 54;
constexpr std::uint32_t ExtCreateFontIndirectW = 82;
constexpr std::uint32_t ExtTextOutW = 84;
constexpr std::uint32_t Polygon16 = 86;
constexpr std::uint32_t Polyline16 = 87;
constexpr std::uint32_t ExtCreatePen = 95;
constexpr std::uint32_t Comment = 70;

// The comment record before the end that seals a picture we wrote: type, size,
// data size 8, the tag, then the CRC-32 of every byte before the comment.
constexpr std::uint32_t SealTag = 0x4C414553;  // "SEAL"
constexpr std::uint32_t SealSize = 20;

constexpr std::uint32_t Signature = 0x464D4520;  // " EMF"
constexpr std::uint32_t HeaderSize = 108;
constexpr std::uint32_t LogFontSize = 92;

constexpr std::uint32_t StockFlag = 0x80000000;
constexpr std::uint32_t WhiteBrush = StockFlag | 0;
constexpr std::uint32_t BlackBrush = StockFlag | 4;
constexpr std::uint32_t NullBrush = StockFlag | 5;
constexpr std::uint32_t WhitePen = StockFlag | 6;
constexpr std::uint32_t BlackPen = StockFlag | 7;
constexpr std::uint32_t NullPen = StockFlag | 8;
constexpr std::uint32_t SystemFont = StockFlag | 13;
constexpr std::uint32_t LastStock = StockFlag | 19;

constexpr std::uint32_t PenSolid = 0;
constexpr std::uint32_t PenNull = 5;
constexpr std::uint32_t BrushSolid = 0;
constexpr std::uint32_t BrushNull = 1;
constexpr std::uint32_t Transparent = 1;
}  // namespace EmfRecord
