#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "Crc32.h"
#include "EReportError.h"
#include "EmfPlayer.h"
#include "EmfRecord.h"
#include "EmfWriter.h"
#include "LittleEndian.h"
#include "RecordingCanvas.h"

namespace fs = std::filesystem;

namespace {

// A little of everything the engine draws, in changing pens, brushes and fonts.
void drawSample(PageCanvas& canvas)
{
    const PagePen none{PageColor::black(), 1, false};
    const PagePen thick{{200, 10, 20}, 3, true};
    canvas.rectangle({10, 10, 200, 60}, none, PageBrush{PageColor::white(), true});
    canvas.rectangle({20, 20, 100, 40}, thick, PageBrush{{1, 2, 3}, false});
    canvas.polyline({{0, 0}, {50, 50}, {100, 0}}, thick);
    canvas.polygon({{5, 5}, {40, 5}, {20, 30}}, PagePen{}, PageBrush{{9, 8, 7}, true});
    canvas.ellipse({30, 30, 70, 90}, PagePen{}, PageBrush{});
    PageFont arial;
    PageFont serif{"Times New Roman", 20, 700, true, false, false};
    canvas.text(PageText{{12, 14}, u"Nama Pegawai", {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}, 0, {}}, arial);
    canvas.text(PageText{{300, 14}, u"NIP", {}, PageTextAlign::Right, {0, 0, 255}}, serif);
    canvas.text(PageText{{300, 40}, u"Bali\u00e9", {5, 5, 5, 5, 5}, 0, {0, 0, 255}}, arial);
    canvas.polyline({{-40000, 0}, {40000, 10}}, PagePen{});  // past 16-bit coordinates
}

std::vector<std::uint8_t> samplePicture()
{
    EmfWriter writer(3556, 2159, 96);
    drawSample(writer);
    return writer.finish();
}

TEST(EmfWriter, HeaderHasBoundsFrameSizeAndCount)
{
    const std::vector<std::uint8_t> bytes = samplePicture();
    auto u32 = [&](size_t at) { return LittleEndian::get32(bytes.data() + at); };
    EXPECT_EQ(u32(0), EmfRecord::Header);
    EXPECT_EQ(u32(40), EmfRecord::Signature);
    EXPECT_EQ(u32(48), bytes.size());
    // Legal landscape at 96 pixels per inch: 1344 x 816 pixels
    EXPECT_EQ(u32(16), 1343u);
    EXPECT_EQ(u32(20), 815u);
    EXPECT_EQ(u32(32), 35560u);
    EXPECT_EQ(u32(36), 21590u);
    size_t records = 0, at = 0, last = 0;
    while (at < bytes.size()) {
        last = at;
        at += u32(at + 4);
        ++records;
    }
    EXPECT_EQ(at, bytes.size());
    EXPECT_EQ(u32(52), records);
    EXPECT_EQ(u32(last), EmfRecord::Eof);

    const EmfPictureInfo info = EmfPlayer::info(bytes);
    EXPECT_EQ(info.widthPixels(), 1344);
    EXPECT_EQ(info.heightPixels(), 816);
    EXPECT_DOUBLE_EQ(info.widthTenthsMm(), 3556);
    EXPECT_DOUBLE_EQ(info.heightTenthsMm(), 2159);
}

TEST(EmfPlayer, PlaysBackWhatWasDrawn)
{
    RecordingCanvas drawn, played;
    drawSample(drawn);
    EmfPlayer::play(samplePicture(), played);
    ASSERT_EQ(played.calls.size(), drawn.calls.size());
    for (size_t i = 0; i < drawn.calls.size(); ++i)
        EXPECT_TRUE(played.calls[i] == drawn.calls[i]) << "call " << i;
}

// Records other writers use: move/line, stock objects, saved states,
// extended pens, and records we do not know.
TEST(EmfPlayer, ReadsCommonForeignRecords)
{
    std::vector<std::uint8_t> bytes = EmfWriter(2100, 2970, 96).finish();
    bytes.resize(bytes.size() - 20);  // drop the end-of-file record
    auto rec = [&](std::uint32_t type, std::vector<std::uint32_t> args) {
        LittleEndian::put32(bytes, type);
        LittleEndian::put32(bytes, static_cast<std::uint32_t>(8 + 4 * args.size()));
        for (auto a : args)
            LittleEndian::put32(bytes, a);
    };
    rec(EmfRecord::SelectObject, {EmfRecord::NullPen});
    rec(EmfRecord::SaveDC, {});
    rec(EmfRecord::SelectObject, {EmfRecord::BlackPen});
    rec(EmfRecord::MoveToEx, {1, 2});
    rec(EmfRecord::LineTo, {3, 4});
    rec(EmfRecord::RestoreDC, {static_cast<std::uint32_t>(-1)});
    rec(EmfRecord::LineTo, {5, 6});
    rec(9, {100, 100});         // set window extent: not drawn
    rec(0xDEAD, {1, 2, 3, 4});  // unknown
    // extended pen in handle 1, blue, 2 wide
    rec(EmfRecord::ExtCreatePen, {1, 0, 0, 0, 0, 0, 2, 0, 0xFF0000, 0});
    rec(EmfRecord::SelectObject, {1});
    rec(EmfRecord::Rectangle, {0, 0, 10, 10});
    rec(EmfRecord::Eof, {0, 16, 20});
    rec(EmfRecord::Rectangle, {0, 0, 99, 99});  // after the end: never drawn
    RecordingCanvas canvas;
    EmfPlayer::play(bytes, canvas);
    ASSERT_EQ(canvas.calls.size(), 3u);
    const auto& first = canvas.calls[0];
    EXPECT_EQ(first.points, (std::vector<PagePoint>{{1, 2}, {3, 4}}));
    EXPECT_TRUE(first.pen.visible);
    const auto& second = canvas.calls[1];
    // the restored state has the null pen and the position saved with it
    EXPECT_FALSE(second.pen.visible);
    EXPECT_EQ(second.points, (std::vector<PagePoint>{{0, 0}, {5, 6}}));
    const auto& box = canvas.calls[2];
    EXPECT_EQ(box.kind, RecordingCanvas::Kind::Rectangle);
    EXPECT_EQ(box.pen, (PagePen{{0, 0, 255}, 2, true}));
}

struct BadPicture {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
};

class DamagedPicture : public testing::TestWithParam<BadPicture> {};

size_t offsetOfRecord(const std::vector<std::uint8_t>& bytes, std::uint32_t type)
{
    size_t at = 0;
    while (at + 8 <= bytes.size() && LittleEndian::get32(bytes.data() + at) != type)
        at += LittleEndian::get32(bytes.data() + at + 4);
    return at;
}

TEST_P(DamagedPicture, RaisesAClearError)
{
    std::vector<std::uint8_t> bytes = samplePicture();
    GetParam().damage(bytes);
    RecordingCanvas canvas;
    EXPECT_THROW(EmfPlayer::play(bytes, canvas), EReportError);
}

INSTANTIATE_TEST_SUITE_P(
    Lies, DamagedPicture,
    testing::Values(
        BadPicture{"Empty", [](auto& b) { b.clear(); }}, BadPicture{"NoSignature", [](auto& b) { b[40] = 'X'; }},
        BadPicture{"HeaderLongerThanFile", [](auto& b) { LittleEndian::set32(b, 4, 1u << 30); }},
        BadPicture{"TruncatedMidRecord", [](auto& b) { b.resize(b.size() - 30); }},
        BadPicture{"RecordSizeZero",
                   [](auto& b) { LittleEndian::set32(b, offsetOfRecord(b, EmfRecord::Rectangle) + 4, 0); }},
        BadPicture{"RecordSizeHuge",
                   [](auto& b) { LittleEndian::set32(b, offsetOfRecord(b, EmfRecord::Rectangle) + 4, 0xFFFFFFF8); }},
        BadPicture{"RecordSizeOdd",
                   [](auto& b) { LittleEndian::set32(b, offsetOfRecord(b, EmfRecord::Rectangle) + 4, 23); }},
        BadPicture{"RectangleTooShort",
                   [](auto& b) { LittleEndian::set32(b, offsetOfRecord(b, EmfRecord::Rectangle) + 4, 8); }},
        BadPicture{"TextCountPastRecord",
                   [](auto& b) { LittleEndian::set32(b, offsetOfRecord(b, EmfRecord::ExtTextOutW) + 44, 0x7FFFFFFF); }},
        BadPicture{"TextOffsetPastRecord",
                   [](auto& b) { LittleEndian::set32(b, offsetOfRecord(b, EmfRecord::ExtTextOutW) + 48, 0xFFFFFFF0); }},
        BadPicture{"PointCountPastRecord",
                   [](auto& b) { LittleEndian::set32(b, offsetOfRecord(b, EmfRecord::Polyline16) + 24, 0x40000000); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EmfPlayer, LyingAdvanceOffsetDropsOnlyTheAdvances)
{
    std::vector<std::uint8_t> bytes = samplePicture();
    LittleEndian::set32(bytes, offsetOfRecord(bytes, EmfRecord::ExtTextOutW) + 72, 0xFFFFFF00);
    RecordingCanvas canvas;
    EmfPlayer::play(bytes, canvas);
    const auto& text = canvas.calls[5];
    EXPECT_EQ(text.text.chars, u"Nama Pegawai");
    EXPECT_TRUE(text.text.advances.empty());
}

// An independent reader of the format must open our pages and see the text.
TEST(EmfWriter, IndependentReaderOpensOurPage)
{
    const char* tool = "/usr/bin/emf2svg-conv";
    if (!fs::exists(tool))
        GTEST_SKIP() << "emf2svg-conv is not installed (tools/deps.sh installs it)";
    const fs::path dir = fs::temp_directory_path() / ("emfcheck-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path emf = dir / "page.emf", svg = dir / "page.svg";
    const std::vector<std::uint8_t> bytes = samplePicture();
    std::ofstream(emf, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const std::string command =
        std::string(tool) + " -i " + emf.string() + " -o " + svg.string() + " > " + (dir / "log").string() + " 2>&1";
    const int status = std::system(command.c_str());
    std::stringstream text;
    text << std::ifstream(svg).rdbuf();
    std::stringstream log;
    log << std::ifstream(dir / "log").rdbuf();
    fs::remove_all(dir);
    ASSERT_EQ(status, 0) << log.str();
    const std::string svgText = text.str();
    EXPECT_NE(svgText.find("Nama Pegawai"), std::string::npos) << svgText.substr(0, 2000);
    EXPECT_NE(svgText.find("NIP"), std::string::npos);
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
}

}  // namespace

// The check value of the CRC-32 of zip and PNG, through the eight-byte steps
// and the bytes left over; long inputs through the 64-byte folding agree with
// the tables at every length around its 16- and 64-byte steps.
TEST(Crc32, KnownValues)
{
    const auto crc = [](std::string_view text) {
        return Crc32::of(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    };
    EXPECT_EQ(crc(""), 0u);
    EXPECT_EQ(crc("123456789"), 0xCBF43926u);
    EXPECT_EQ(crc("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
    EXPECT_EQ(crc(std::string(1000, 'a')), 0x9A38DA03u) << "a thousand times \"a\"";

    std::vector<std::uint8_t> bytes(4096 + 200);
    std::uint32_t seed = 12345;
    for (std::uint8_t& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(seed >> 16);
    }
    for (size_t length : {63, 64, 65, 79, 80, 81, 127, 128, 129, 143, 144, 200, 1000, 4095, 4096, 4097}) {
        for (size_t offset : {0, 1, 7}) {
            const std::span part(bytes.data() + offset, length);
            EXPECT_EQ(Crc32::of(part), Crc32::ofByTables(part)) << length << " bytes from " << offset;
        }
    }
}
