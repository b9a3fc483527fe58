#include "encoder/matrix.h"

#include <gtest/gtest.h>

#include "encoder/tables.h"

namespace tirrel::encoder {
namespace {

int CountWithFlags(const std::vector<uint8_t>& m, uint8_t flags) {
    int n = 0;
    for (uint8_t v : m)
        n += (v & 0xF8) == flags;
    return n;
}

uint32_t ReadVersionBlock(const FunctionTemplate& t, bool lower_left) {
    uint32_t bits = 0;
    for (int i = 0; i < 18; ++i) {
        const int a = t.width - 11 + i % 3, b = i / 3;
        const uint8_t v =
            lower_left ? t.modules[size_t(a * t.width + b)] : t.modules[size_t(b * t.width + a)];
        EXPECT_EQ(v & 0xFE, kVersionInfo);
        bits |= uint32_t(v & 1) << i;
    }
    return bits;
}

TEST(Template, Version1HasNoAlignmentNorVersionInformation) {
    const FunctionTemplate& t = TemplateOf(1);
    EXPECT_EQ(t.width, 21);
    EXPECT_EQ(CountWithFlags(t.modules, kAlignment), 0);
    EXPECT_EQ(CountWithFlags(t.modules, kVersionInfo), 0);
    EXPECT_EQ(t.modules[size_t(13 * 21 + 8)], kDarkModule);
    // Finder corner dark, separator light, timing alternates.
    EXPECT_EQ(t.modules[0], kFinder | 1);
    EXPECT_EQ(t.modules[7], kFinder);
    EXPECT_EQ(t.modules[size_t(6 * 21 + 8)], kTiming | 1);
    EXPECT_EQ(t.modules[size_t(6 * 21 + 9)], kTiming);
}

TEST(Template, Version7CarriesBothVersionBlocks) {
    const FunctionTemplate& t = TemplateOf(7);
    EXPECT_EQ(t.width, 45);
    EXPECT_EQ(VersionInformation(7), 0x07C94u);
    EXPECT_EQ(ReadVersionBlock(t, true), 0x07C94u);
    EXPECT_EQ(ReadVersionBlock(t, false), 0x07C94u);
    EXPECT_EQ(AlignmentPositions(7), (std::vector<int>{6, 22, 38}));
    // Six alignment patterns of 25 modules (the three at finder corners are left out).
    EXPECT_EQ(CountWithFlags(t.modules, kAlignment), 6 * 25);
}

TEST(Template, VersionInformationAndAlignmentOfLaterVersions) {
    EXPECT_EQ(VersionInformation(8), 0x085BCu);
    EXPECT_EQ(VersionInformation(10), 0x0A4D3u);
    EXPECT_EQ(VersionInformation(40), 0x28C69u);
    EXPECT_EQ(AlignmentPositions(2), (std::vector<int>{6, 18}));
    EXPECT_EQ(AlignmentPositions(10), (std::vector<int>{6, 28, 50}));
    EXPECT_EQ(AlignmentPositions(32), (std::vector<int>{6, 34, 60, 86, 112, 138}));
}

TEST(Template, DataModulesMatchTheCapacityTable) {
    // The function patterns and the capacity table are independent data: the modules left
    // for data must be exactly the codewords plus the remainder bits.
    for (int v = kMinVersion; v <= kMaxVersion; ++v) {
        const FunctionTemplate& t = TemplateOf(v);
        EXPECT_EQ(t.order.size(), size_t(8 * TotalCodewords(v) + RemainderBits(v)))
            << "version " << v;
    }
}

TEST(Placement, StartsBottomRightGoingUpAndSkipsTheTimingColumn) {
    const FunctionTemplate& t = TemplateOf(1);
    ASSERT_GE(t.order.size(), 4u);
    EXPECT_EQ(t.order[0].index, 20 * 21 + 20);
    EXPECT_EQ(t.order[1].index, 20 * 21 + 19);
    EXPECT_EQ(t.order[2].index, 19 * 21 + 20);
    for (const ModulePos& p : t.order)
        EXPECT_NE(p.column, 6);
    std::vector<uint8_t> m = t.modules;
    PlaceCodewords(t, {0x80, 0x01}, m);
    EXPECT_EQ(m[t.order[0].index], kDataDark);
    EXPECT_EQ(m[t.order[1].index], kDataLight);
    EXPECT_EQ(m[t.order[15].index], kDataDark);
}

TEST(Format, KnownCodeWordsAndPlacement) {
    EXPECT_EQ(FormatInformation(Level::kM, 0), 0x5412u);  // M, mask 0: all data bits zero
    EXPECT_EQ(FormatInformation(Level::kL, 0), 0x77C4u);
    EXPECT_EQ(FormatInformation(Level::kH, 0), 0x1689u);
    EXPECT_EQ(FormatInformation(Level::kQ, 7), 0x2BEDu);
    std::vector<uint8_t> m = TemplateOf(1).modules;
    DrawFormatInformation(m, 21, Level::kL, 0);
    // 0x77C4: bit 0 = 0, bit 2 = 1, bit 14 = 1.
    EXPECT_EQ(m[size_t(0 * 21 + 8)], kFormat);       // bit 0, column 8 from the top
    EXPECT_EQ(m[size_t(8 * 21 + 20)], kFormat);      // bit 0, row 8 from the right edge
    EXPECT_EQ(m[size_t(2 * 21 + 8)], kFormat | 1);   // bit 2
    EXPECT_EQ(m[size_t(8 * 21 + 0)], kFormat | 1);   // bit 14, row 8 at the left edge
    EXPECT_EQ(m[size_t(20 * 21 + 8)], kFormat | 1);  // bit 14, column 8 at the bottom
}

}  // namespace
}  // namespace tirrel::encoder
