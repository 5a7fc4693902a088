#include "JpegImage.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {
const std::string assetPath = std::string(ARSIPSTAF_SOURCE_DIR) + "/assets/menu-picture.jpg";

std::vector<unsigned char> assetBytes()
{
    std::ifstream file(assetPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct Pixel {
    int r, g, b;
};

Pixel pixel(const JpegImage& image, int x, int y)
{
    const unsigned char* p = image.rgb().data() + (std::size_t(y) * image.width() + x) * 3;
    return {p[0], p[1], p[2]};
}
}  // namespace

TEST(JpegImage, DecodesTheMenuPictureInColour)
{
    const JpegImage image = JpegImage::load(assetPath);
    ASSERT_EQ(image.width(), 295);
    ASSERT_EQ(image.height(), 305);
    EXPECT_EQ(image.rgb().size(), 295u * 305u * 3u);
    const Pixel banner = pixel(image, 60, 252);  // the red banner at the bottom
    EXPECT_GT(banner.r, banner.g + 60);
    EXPECT_GT(banner.r, banner.b + 60);
    const Pixel ocean = pixel(image, 20, 157);  // west edge of the map: Pacific
    EXPECT_GT(ocean.b, ocean.r);
}

TEST(JpegImage, MissingFileIsAnError)
{
    EXPECT_THROW(JpegImage::load(assetPath + ".absent"), JpegError);
}

struct Corruption {
    const char* name;
    std::vector<unsigned char> (*damage)(std::vector<unsigned char>);
};

std::ostream& operator<<(std::ostream& os, const Corruption& c)
{
    return os << c.name;
}

class CorruptJpegTest : public ::testing::TestWithParam<Corruption> {};

TEST_P(CorruptJpegTest, IsRefusedWithAnError)
{
    const std::vector<unsigned char> bytes = GetParam().damage(assetBytes());
    EXPECT_THROW(JpegImage::decode(bytes.data(), bytes.size()), JpegError);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, CorruptJpegTest,
    ::testing::Values(Corruption{"Empty", [](std::vector<unsigned char>) { return std::vector<unsigned char>(); }},
                      Corruption{"HeaderOnly",
                                 [](std::vector<unsigned char> b) {
                                     b.resize(20);
                                     return b;
                                 }},
                      Corruption{"TruncatedHalf",
                                 [](std::vector<unsigned char> b) {
                                     b.resize(b.size() / 2);
                                     return b;
                                 }},
                      Corruption{"TruncatedBeforeEnd",
                                 [](std::vector<unsigned char> b) {
                                     b.resize(b.size() - 200);
                                     return b;
                                 }},
                      Corruption{"NotAJpeg",
                                 [](std::vector<unsigned char>) {
                                     const std::string text = "Pengelolaan Data Mutasi Kepegawaian";
                                     return std::vector<unsigned char>(text.begin(), text.end());
                                 }},
                      Corruption{"StartMarkerBroken",
                                 [](std::vector<unsigned char> b) {
                                     b[1] = 0x00;
                                     return b;
                                 }},
                      Corruption{"HugeDimensions",
                                 [](std::vector<unsigned char> b) {
                                     // Set the frame header's height and width to 65535.
                                     for (std::size_t i = 0; i + 8 < b.size(); ++i)
                                         if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) {
                                             b[i + 5] = b[i + 6] = b[i + 7] = b[i + 8] = 0xFF;
                                             break;
                                         }
                                     return b;
                                 }},
                      Corruption{"EntropyDataOverwritten",
                                 [](std::vector<unsigned char> b) {
                                     for (std::size_t i = b.size() / 3; i < b.size() / 3 + 400; ++i)
                                         b[i] = 0xFF;
                                     return b;
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegImage, ScatteredBitFlipsNeverCrash)
{
    const std::vector<unsigned char> original = assetBytes();
    int refused = 0;
    for (std::size_t step = 7; step < 200; step += 13) {
        std::vector<unsigned char> bytes = original;
        for (std::size_t i = 2; i < bytes.size(); i += step * 97)
            bytes[i] ^= 0x5A;
        try {
            const JpegImage image = JpegImage::decode(bytes.data(), bytes.size());
            EXPECT_EQ(image.rgb().size(), std::size_t(image.width()) * image.height() * 3);
        } catch (const JpegError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}
