#include "encoder/segmenting.h"

#include <gtest/gtest.h>

#include "encoder/bitstream.h"
#include "test_util.h"

namespace tirrel::encoder {
namespace {

using testing::BitString;
using testing::Gbk;

struct Expected {
    Mode mode;
    std::string bytes;
};

void ExpectSegments(std::string_view payload, const std::vector<Expected>& expected,
                    int version = 0) {
    const std::vector<Segment> got = SplitSegments(payload, version);
    ASSERT_EQ(got.size(), expected.size()) << payload;
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].mode, expected[i].mode) << "segment " << i;
        EXPECT_EQ(got[i].bytes, expected[i].bytes) << "segment " << i;
    }
}

std::string SegmentBits(const Segment& s, int version = 1) {
    BitStream bits;
    EncodeSegment(s, version, bits);
    return BitString(bits);
}

TEST(Classify, ModesOfSingleCharacters) {
    EXPECT_EQ(ModeAt("7", 0), Mode::kNumeric);
    EXPECT_EQ(ModeAt("A", 0), Mode::kAlphanumeric);
    EXPECT_EQ(ModeAt(":", 0), Mode::kAlphanumeric);
    EXPECT_EQ(ModeAt("a", 0), Mode::kByte);
    EXPECT_EQ(ModeAt(";", 0), Mode::kByte);
    EXPECT_EQ(ModeAt(Gbk("张"), 0), Mode::kChinese);
    EXPECT_EQ(ModeAt(Gbk("，"), 0), Mode::kChinese);  // 0xA3AC, the symbol range
    EXPECT_EQ(ModeAt("\x81\x40", 0), Mode::kByte);    // GBK outside GB2312
    EXPECT_EQ(ModeAt("\xB0\x40", 0), Mode::kByte);    // second byte below 0xA1
    EXPECT_EQ(ModeAt("\xAB\xA1", 0), Mode::kByte);    // between the two ranges
    EXPECT_EQ(ModeAt("\xD5", 0), Mode::kByte);        // a lone lead byte at the end
}

TEST(Split, DigitsAloneFormOneNumericSegment) {
    ExpectSegments("12345", {{Mode::kNumeric, "12345"}});
    // 0001, count 5 in 10 bits, 123 in 10 bits, 45 in 7 bits.
    EXPECT_EQ(SegmentBits({Mode::kNumeric, "12345"}),
              "0001"
              "0000000101"
              "0001111011"
              "0101101");
}

TEST(Split, ShortDigitRunStaysInsideAlphanumeric) {
    // 11 + 7 + 4 + 10 - 22 = 10 is not negative: no switch to numeric.
    ExpectSegments("AB12", {{Mode::kAlphanumeric, "AB12"}});
    EXPECT_EQ(SegmentBits({Mode::kAlphanumeric, "AB12"}),
              "0010"
              "000000100"
              "00111001101"    // 45 * 10 + 11
              "00000101111");  // 45 * 1 + 2
}

TEST(Split, LongDigitRunLeavesAlphanumeric) {
    ExpectSegments("AB1234567890", {{Mode::kAlphanumeric, "AB"}, {Mode::kNumeric, "1234567890"}});
}

TEST(Split, ChineseCharacterIsThirteenBits) {
    const std::string zhang = Gbk("张");
    ASSERT_EQ(zhang, "\xD5\xC5");
    ExpectSegments(zhang, {{Mode::kChinese, zhang}});
    // (0xD5 - 0xA6) * 0x60 + (0xC5 - 0xA1) = 4548.
    EXPECT_EQ(SegmentBits({Mode::kChinese, zhang}),
              "1101"
              "0001"
              "00000001"
              "1000111000100");
    // The symbol range counts from 0xA1: (0xA3 - 0xA1) * 0x60 + (0xAC - 0xA1) = 203.
    EXPECT_EQ(SegmentBits({Mode::kChinese, "\xA3\xAC"}).substr(16), "0000011001011");
}

TEST(Split, NonGb2312AndLowerCaseAreBytes) {
    ExpectSegments("\x81\x40\x81\x41", {{Mode::kByte, "\x81\x40\x81\x41"}});
    ExpectSegments("abc", {{Mode::kByte, "abc"}});
    EXPECT_EQ(SegmentBits({Mode::kByte, "a"}),
              "0100"
              "00000001"
              "01100001");
}

TEST(Split, RecordTextMixesModes) {
    const std::string payload = "\x11\x10" + Gbk("CARD:N:张三;;");
    ExpectSegments(payload, {{Mode::kByte, "\x11\x10"},
                             {Mode::kAlphanumeric, "CARD:N:"},
                             {Mode::kChinese, Gbk("张三")},
                             {Mode::kByte, ";;"}});
}

TEST(Split, DigitsBeforeSpaceAndChineseNeverStall) {
    // Four digits, one alphanumeric character, then a high byte: the byte walk must take
    // at least one position or the split never advances.
    ExpectSegments(
        Gbk("北京1234 号"),
        {{Mode::kChinese, Gbk("北京")}, {Mode::kByte, "1234 "}, {Mode::kChinese, Gbk("号")}});
    ExpectSegments(
        Gbk("房间1203 张三"),
        {{Mode::kChinese, Gbk("房间")}, {Mode::kByte, "1203 "}, {Mode::kChinese, Gbk("张三")}});
    ExpectSegments("1234 \x81\x40", {{Mode::kByte, "1234 \x81\x40"}});
}

TEST(Split, SwitchCostsFollowTheRequestedVersion) {
    // With the wider numeric count of versions 10+, three digits before a high byte are no
    // longer worth their own header.
    ExpectSegments(Gbk("123号"), {{Mode::kNumeric, "123"}, {Mode::kChinese, Gbk("号")}}, 1);
    const std::vector<Segment> wide = SplitSegments("123\x81\x40", 10);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].mode, Mode::kByte);
}

TEST(Split, ASwitchThatSavesNothingIsNotTaken) {
    // Each payload prices one switch at exactly 0 bits: the current mode goes on.
    struct Case {
        std::string payload;
        int version;
        std::vector<Expected> segments;
    };
    const std::string zhang = Gbk("张");
    const std::vector<Case> cases = {
        // digits, then alphanumeric: 24 + 4 + 10 + 6 - 44
        {"1234567A", 1, {{Mode::kNumeric, "1234567"}, {Mode::kAlphanumeric, "A"}}},
        // digit run inside alphanumeric: 6 + 24 + 4 + 10 - 44
        {"A1234567", 1, {{Mode::kAlphanumeric, "A1234567"}}},
        // alphanumeric, then a high byte: 33 + 4 + 11 + 8 - 56
        {"ABCDEF" + zhang, 10, {{Mode::kAlphanumeric, "ABCDEF"}, {Mode::kChinese, zhang}}},
        // digits inside 8-bit: 10 + 4 + 10 - 24
        {"a123b", 1, {{Mode::kByte, "a123b"}}},
        // alphanumeric inside 8-bit: 33 + 4 + 11 - 48
        {"aABCDEFb", 10, {{Mode::kByte, "aABCDEFb"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.payload);
        ExpectSegments(c.payload, c.segments, c.version);
    }
}

TEST(Estimate, GrowsWithTheData) {
    EXPECT_EQ(EstimateVersion(SplitSegments("12345", 0), Level::kL), 1);
    EXPECT_EQ(EstimateVersion({{Mode::kByte, std::string(17, 'a')}}, Level::kL), 1);
    EXPECT_EQ(EstimateVersion({{Mode::kByte, std::string(18, 'a')}}, Level::kL), 2);
    // 271 bytes need version 10 at L (274 data codewords) once the count is 16 bits wide.
    EXPECT_EQ(EstimateVersion({{Mode::kByte, std::string(271, 'a')}}, Level::kL), 10);
    EXPECT_EQ(EstimateVersion({{Mode::kByte, std::string(272, 'a')}}, Level::kL), 11);
    EXPECT_EQ(EstimateVersion({{Mode::kByte, std::string(3000, 'a')}}, Level::kL), -1);
}

}  // namespace
}  // namespace tirrel::encoder
