#include "encoder/bitstream.h"

#include <gtest/gtest.h>

#include "test_util.h"

namespace tirrel::encoder {
namespace {

using testing::BitString;

TEST(BitStream, FieldsGoMostSignificantBitFirst) {
    BitStream s;
    s.Append(0x5, 3);
    s.Append(0x1FF, 9);
    s.Append(0, 0);
    s.Append(0xABCD, 16);
    EXPECT_EQ(BitString(s),
              "101"
              "111111111"
              "1010101111001101");
    EXPECT_EQ(s.bytes(), (std::vector<uint8_t>{0xBF, 0xFA, 0xBC, 0xD0}));
}

TEST(SegmentBits, LongSegmentIsCutAtTheLargestCount) {
    // At version 5 an 8-bit count says at most 255: 300 bytes become 255 + 45.
    BitStream s;
    EncodeSegment({Mode::kByte, std::string(300, 'x')}, 5, s);
    ASSERT_EQ(s.size(), size_t(2 * (4 + 8) + 300 * 8));
    const std::string bits = BitString(s);
    EXPECT_EQ(bits.substr(0, 12),
              "0100"
              "11111111");
    const size_t second = 12 + 255 * 8;
    EXPECT_EQ(bits.substr(second, 12),
              "0100"
              "00101101");

    // Chinese counts characters: 256 characters at an 8-bit count are 255 + 1.
    std::string chinese;
    for (int i = 0; i < 256; ++i)
        chinese += "\xB0\xA1";
    BitStream c;
    EncodeSegment({Mode::kChinese, chinese}, 1, c);
    EXPECT_EQ(c.size(), size_t(2 * (4 + 4 + 8) + 256 * 13));
}

TEST(SegmentBits, CountWidthsFollowTheVersionGroups) {
    for (auto [version, width] : {std::pair{1, 10}, {9, 10}, {10, 12}, {26, 12}, {27, 14}}) {
        BitStream s;
        EncodeSegment({Mode::kNumeric, "1"}, version, s);
        EXPECT_EQ(s.size(), size_t(4 + width + 4)) << "version " << version;
    }
    EXPECT_EQ(CountWidth(Mode::kByte, 10), 16);
    EXPECT_EQ(CountWidth(Mode::kChinese, 40), 12);
    EXPECT_EQ(CountWidth(Mode::kAlphanumeric, 0), 9);
}

TEST(DataCodewords, TerminatorAlignmentAndPadBytes) {
    BitStream s;
    EncodeSegment({Mode::kNumeric, "12345"}, 1, s);  // 31 bits
    const std::vector<uint8_t> data = FinishDataCodewords(s, 19);
    // 0001 0000000101 0001111011 0101101, then 4 terminator bits and 5 zeros.
    const std::vector<uint8_t> expected = {0x10, 0x14, 0x7B, 0x5A, 0x00, 0xEC, 0x11,
                                           0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC,
                                           0x11, 0xEC, 0x11, 0xEC, 0x11};
    EXPECT_EQ(data, expected);
}

TEST(DataCodewords, ShortTerminatorWhenTheStreamIsNearlyFull) {
    BitStream s;
    s.Append(0xFFFFFFFF, 32);
    s.Append(0x7, 3);  // 35 bits in 5 bytes: 5 bits left, a whole terminator plus one zero
    EXPECT_EQ(FinishDataCodewords(s, 5), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xE0}));
    BitStream t;
    t.Append(0xFFFFFFFF, 32);
    t.Append(0x3F, 6);  // 2 bits left: only two zeros, no pad byte
    EXPECT_EQ(FinishDataCodewords(t, 5), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFC}));
    BitStream full;
    full.Append(0xABCD, 16);
    EXPECT_EQ(FinishDataCodewords(full, 2), (std::vector<uint8_t>{0xAB, 0xCD}));
}

}  // namespace
}  // namespace tirrel::encoder
