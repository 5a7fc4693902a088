#include <gtest/gtest.h>

#include <random>

#include "EReportError.h"
#include "TRepCompress.h"

namespace {

struct BitCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::vector<int> bits;
};

class CoderBits : public testing::TestWithParam<BitCase> {};

TEST_P(CoderBits, FreshCoderTakesTheseBitLengths)
{
    TRepCompress coder;
    std::vector<int> bits;
    for (std::uint8_t b : GetParam().bytes)
        bits.push_back(coder.encode(b));
    EXPECT_EQ(bits, GetParam().bits);
}

INSTANTIATE_TEST_SUITE_P(Splay, CoderBits,
                         testing::Values(BitCase{"Byte65ThreeTimes", {65, 65, 65}, {8, 4, 2}},
                                         BitCase{"Byte255HangsDeeper", {255}, {9}}, BitCase{"Byte0", {0}, {8}},
                                         BitCase{"Byte254", {254}, {8}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TRepCompress, EveryByteButTheLastTakesEightBitsInAFreshTree)
{
    for (int b = 0; b < 256; ++b) {
        TRepCompress coder;
        EXPECT_EQ(coder.encode(static_cast<std::uint8_t>(b)), b == 255 ? 9 : 8) << b;
    }
}

TEST(TRepCompress, BitsArePackedLeastSignificantFirst)
{
    // Leaf 256 (byte 0) is the right child of node 127, the left-most
    // internal node at depth 7: seven 0 bits, then a 1 in bit 7.
    TRepCompress coder;
    EXPECT_EQ(coder.encode(0), 8);
    const std::vector<std::uint8_t> out = coder.finish();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], 0x80);
}

TEST(TRepCompress, PartialByteIsFlushedOnFinish)
{
    TRepCompress coder;
    coder.encode(65);
    coder.encode(65);  // 4 more bits: 12 in all
    EXPECT_EQ(coder.finish().size(), 2u);
}

TEST(TRepCompress, RoundTripOfRandomAndSkewedData)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::uint8_t> data(1 + rng() % 5000);
        const bool skewed = round % 2 == 0;
        for (auto& b : data)
            b = static_cast<std::uint8_t>(skewed ? (rng() % 7 == 0 ? rng() : 0) : rng());
        TRepCompress coder;
        for (auto b : data)
            coder.encode(b);
        const std::vector<std::uint8_t> coded = coder.finish();
        if (skewed) {
            EXPECT_LT(coded.size(), data.size() / 2);
        }
        EXPECT_EQ(TRepCompress().decode(coded, data.size()), data);
    }
}

TEST(TRepCompress, DecodingPastTheCodedBytesIsAnError)
{
    TRepCompress coder;
    for (int i = 0; i < 10; ++i)
        coder.encode(static_cast<std::uint8_t>(i));
    const std::vector<std::uint8_t> coded = coder.finish();
    EXPECT_THROW(TRepCompress().decode(coded, 11 + 8), EReportError);
    EXPECT_THROW(TRepCompress().decode({}, 1), EReportError);
}

}  // namespace
