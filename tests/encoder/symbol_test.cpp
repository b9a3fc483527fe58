#include "encoder/encoder.h"

#include <gtest/gtest.h>

#include "encoder/masking.h"
#include "encoder/matrix.h"
#include "reference_scorer.h"
#include "symbol_render.h"
#include "test_util.h"

namespace tirrel::encoder {
namespace {

using testing::Gbk;

TEST(VersionRule, RequestedVersionIsKeptNeverGrown) {
    const std::string text(60, 'a');  // needs version 4 at L
    EXPECT_FALSE(encode(text, 3, Level::kL));
    const std::optional<Symbol> s = encode(text, 4, Level::kL);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->width, 33);
    const std::optional<Symbol> big = encode("A", 5, Level::kL);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->version, 5);
    EXPECT_EQ(big->width, 37);
}

TEST(VersionRule, TheExactPassNeverGrowsPastTheRequest) {
    // The estimate leaves out the Chinese subset indicator: these fit by estimate only.
    auto zhang = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += Gbk("张");
        return s;
    };
    struct Case {
        std::string payload;
        int version;
        Level level;
        int expected;  // the symbol's version, 0 = refused
    };
    for (const Case& c : {Case{zhang(7), 1, Level::kQ, 0}, Case{zhang(6), 1, Level::kQ, 1},
                          Case{zhang(7), 0, Level::kQ, 2},  // automatic may still grow up to 10
                          Case{zhang(74), 0, Level::kH, 0}, Case{zhang(73), 0, Level::kH, 10},
                          Case{zhang(74), 10, Level::kH, 0}, Case{zhang(74), 11, Level::kH, 11}}) {
        const std::optional<Symbol> s = encode(c.payload, c.version, c.level);
        EXPECT_EQ(s ? s->version : 0, c.expected)
            << c.payload.size() / 2 << " characters, version " << c.version;
    }
}

TEST(VersionRule, AutomaticStopsAtVersion10) {
    const std::optional<Symbol> s = encode(std::string(271, 'a'), 0, Level::kL);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->version, 10);
    EXPECT_EQ(s->width, 57);
    EXPECT_FALSE(encode(std::string(272, 'a'), 0, Level::kL));
    EXPECT_EQ(encode("12345", 0, Level::kL)->version, 1);
}

TEST(VersionRule, NothingHoldsTheDataForAnyRequest) {
    const std::string huge(3000, 'a');
    EXPECT_FALSE(encode(huge, 0, Level::kL));
    EXPECT_FALSE(encode(huge, 5, Level::kL));
    EXPECT_FALSE(encode(huge, 40, Level::kL));
    std::string chinese;
    for (int i = 0; i < 620; ++i)
        chinese += Gbk("张");
    EXPECT_FALSE(encode(chinese, 5, Level::kH));  // 1240 bytes
    EXPECT_FALSE(encode(chinese, 0, Level::kH));
}

TEST(VersionRule, BadRequestsAreRefused) {
    EXPECT_FALSE(encode("A", -1, Level::kL));
    EXPECT_FALSE(encode("A", 41, Level::kL));
    EXPECT_FALSE(LevelFromIndex(4));
    EXPECT_FALSE(LevelFromIndex(-1));
    EXPECT_FALSE(encode("", 0, Level::kL));
    EXPECT_FALSE(encode(std::string("AB\0CD", 5), 0, Level::kL));  // refused, not cut to "AB"
}

// The chosen mask is the one with the lowest total under an independent scorer.
TEST(Symbol, ChosenMaskHasTheLowestTotal) {
    for (const std::string& payload :
         {std::string("12345"), Gbk("CARD:N:张三;TEL:13800138000;;"), std::string(100, 'x'),
          std::string("HTTP://WWW.EXAMPLE.CN")}) {
        for (int level = 0; level < 4; ++level) {
            const std::optional<Symbol> s = encode(payload, 0, kLevels[level]);
            ASSERT_TRUE(s);
            const int w = s->width;
            // Read the mask back from the format information (bits 10..12 before the XOR).
            uint32_t format = 0;
            for (int i = 0; i < 8; ++i)
                format |= uint32_t(s->modules[size_t(8 * w + w - 1 - i)] & 1) << i;
            for (int i = 8; i < 15; ++i)
                format |= uint32_t(s->modules[size_t((w - 15 + i) * w + 8)] & 1) << i;
            const int chosen = int(((format ^ 0x5412) >> 10) & 7);
            constexpr int kLevelBits[4] = {1, 0, 3, 2};
            EXPECT_EQ(int(((format ^ 0x5412) >> 13) & 3), kLevelBits[level]);

            std::vector<uint8_t> unmasked = s->modules;
            ApplyMask(unmasked, w, chosen);
            for (uint8_t& v : unmasked)
                if ((v & 0xFE) == kFormat) v = kFormat;
            int best = -1, best_total = 0;
            for (int m = 0; m < 8; ++m) {
                std::vector<uint8_t> copy = unmasked;
                ApplyMask(copy, w, m);
                const int total = testing::ReferenceTotal(copy, w);
                if (best < 0 || total < best_total) best = m, best_total = total;
            }
            EXPECT_EQ(chosen, best) << payload << " level " << level;
        }
    }
}

TEST(Symbol, ModuleFlagsOfTheResult) {
    const std::optional<Symbol> s = encode("HELLO", 1, Level::kL);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->modules[0], kFinder | 1);
    EXPECT_EQ(s->modules[size_t(13 * 21 + 8)], kDarkModule);
    for (uint8_t v : s->modules)
        EXPECT_TRUE((v & 0x80) || v == kDataLight || v == kDataDark);
}

// Whole symbols, checked once with zxing-cpp when they were recorded: any change in
// placement, masking or mask choice shows up here.
// version 1
constexpr const char* kHelloWorld1Q = R"(
#######....#..#######
#.....#..#....#.....#
#.###.#..#..#.#.###.#
#.###.#.##.#..#.###.#
#.###.#..###..#.###.#
#.....#.####..#.....#
#######.#.#.#.#######
........##.#.........
.##...#..#.##.##.#...
...#.#.##.#..#.###.##
.##...#...##.####..#.
..###....##.......#..
##.########.###.#####
........#....###.####
#######..###.#....##.
#.....#.....###....#.
#.###.#..###.##.#.#.#
#.###.#..........#...
#.###.#.##....#....##
#.....#.###.#..#....#
#######..#....#..#.##
)";

// version 2
constexpr const char* kCardUnicomAutoM = R"(
#######.####.###..#######
#.....#...#.#..#..#.....#
#.###.#.##.####...#.###.#
#.###.#...#....#..#.###.#
#.###.#..##...##..#.###.#
#.....#.##.#.###..#.....#
#######.#.#.#.#.#.#######
.........#...#.##........
#.#...##...###..#..#..#.#
..###...#.##.....#......#
.##...#.##..###.###.#####
.####..#..##..#....##....
.#....#..#.#.########..##
..##....#.#..##...###.##.
####.###...#...#.#.#.#.##
.......#.#...#.....##..#.
#######.#.####.#######.##
........#.#.#..##...##.#.
#######.###.###.#.#.##.##
#.....#...###.###...#.#.#
#.###.#..#...########.###
#.###.#...#..##..##...#..
#.###.#.#..#....##..#.###
#.....#..#...#.##..##.#..
#######.#..###.###....#.#
)";

// version 7
constexpr const char* kDigitsVersion7L = R"(
#######..###....###..#.######.##....#.#######
#.....#.#...#..###.#....#...###..#.#..#.....#
#.###.#...#..#..#....#.####...#....#..#.###.#
#.###.#.##.....#.#.#....#.##.####..##.#.###.#
#.###.#..#..##..#.#.#######...#.#####.#.###.#
#.....#.##..#..###..#...#..#.#####....#.....#
#######.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#######
..........##.#..#..##...#....#...#.#.........
#####.###.#.#....#..######.#...##...##.#.#.#.
.#####.#.#.#.#.#..#...#.#....#..##.#......#.#
###...###....##...#..###.#.#..###....#.#.##.#
...#.#...#.##.##.####.#....#.#.#.#.#...#..#.#
###.#.##.##.###...#.##.#.#..#......###..####.
.#...#.##..##..#.####.#.#..###.#.#..#..####..
..###.#.#.#####...#..###.#..#.#....###..#..##
..#....#####..##.####.#..###..##..#.####.#..#
.#..#.####.#####..#.##.#..#.###..####.#.#..##
#.#..#.##...#...######.######.##..#.######..#
.#.##.##..#....###.#....#...###..#.##...#..#.
##.##...######..#....#.####...#...#.###..#.#.
..########.##..#.#.######.##.######.#####.##.
.#..#...#..###..#.#.#...###...#.#.#.#...#.##.
..###.#.####...###..#.#.#..#.#####.##.#.###..
...##...#.##.#..#...#...#....#...#.##...####.
..#######...#....#.#######.#...##...#####.#..
.#..#..#.#.#.#.#..#.....#....#..##.#..##..#..
##.#..#..#...##...#.##.###.#..###..####..####
###..#..#..#..##.##.....#..#.#.#.#.....#..#..
####..##.##.###...#..#.###..#......##..#.##..
##..##..#..#...#.##.#...#..###.#.#.#.#.#.#...
##.#.###.#...##...##..#.##..#.#....#...#...##
.#.###..####..##.#######.###..##..#.##.##...#
#..#####.#.#####..##..#...#.###..##....#...##
#.#..#.#....#...###.##.#.####.##..#.##..##...
....#.####.##..###.#..#.#...###..#.....##....
.####.....#.##..#..#####.##...#...#.##..##.#.
#..##.#..#.##..#.#.######.##.######.#####.##.
........#.#.##..#.###...###...#.#.###...#..#.
#######.#..##..###..#.#.#..#.#####..#.#.#.#..
#.....#.....##..#...#...#....#...#..#...##.#.
#.###.#.#.#.#....#..######.#...##...#######..
#.###.#.#..#.#.#..##..#......#..##..####..#..
#.###.#.##...##...#..#.#.#.#..###..#..#.###..
#.....#.##.#..##.###.#.##..#.#.#.#...####.##.
#######.#...###...#.....##..#......#....###..
)";

TEST(Golden, WholeSymbols) {
    EXPECT_EQ(testing::AsciiMatrix(*encode("HELLO WORLD", 1, Level::kQ)), kHelloWorld1Q + 1);
    EXPECT_EQ(testing::AsciiMatrix(*encode("\x11\x10" + Gbk("CARD:N:张三;;"), 0, Level::kM)),
              kCardUnicomAutoM + 1);
    EXPECT_EQ(testing::AsciiMatrix(*encode("01234567890123456789", 7, Level::kL)),
              kDigitsVersion7L + 1);
}

}  // namespace
}  // namespace tirrel::encoder
