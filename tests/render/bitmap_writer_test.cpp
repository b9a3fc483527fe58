#include "render/bitmap_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "encoder/encoder.h"
#include "platform/atomic_file.h"
#include "platform/temp_dir.h"

namespace tirrel {
namespace {

uint32_t Le32(const std::vector<uint8_t>& f, size_t at) {
    return uint32_t(f[at]) | uint32_t(f[at + 1]) << 8 | uint32_t(f[at + 2]) << 16 |
           uint32_t(f[at + 3]) << 24;
}

std::vector<uint8_t> Version1Matrix() {
    std::optional<encoder::Symbol> s = encoder::encode("HELLO", 1, encoder::Level::kL);
    if (!s) return {};
    for (uint8_t& m : s->modules)
        m &= encoder::kDark;
    return s->modules;
}

TEST(BitmapFile, Pitch4Quiet4HasNoRowPadding) {
    const std::vector<uint8_t> m = Version1Matrix();
    ASSERT_EQ(m.size(), 441u);
    const std::vector<uint8_t> f = BuildBitmapFile(m.data(), 21, 4, 4);
    ASSERT_EQ(f.size(), 40422u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Le32(f, 2), 40422u);
    EXPECT_EQ(Le32(f, 10), 54u);
    EXPECT_EQ(Le32(f, 18), 116u);
    EXPECT_EQ(Le32(f, 22), 116u);
    EXPECT_EQ(f[28], 24);
    EXPECT_EQ(Le32(f, 34), 40368u);
}

TEST(BitmapFile, Pitch5PadsEachRowWithOneFFByte) {
    const std::vector<uint8_t> m = Version1Matrix();
    const std::vector<uint8_t> f = BuildBitmapFile(m.data(), 21, 5, 4);
    ASSERT_EQ(f.size(), 63274u);
    EXPECT_EQ(Le32(f, 18), 145u);
    EXPECT_EQ(Le32(f, 34), 63220u);
    const size_t stride = 436;
    for (size_t row = 0; row < 145; ++row)
        ASSERT_EQ(f[54 + row * stride + 435], 0xFF) << "row " << row;
    // A dark module sits in a padded row too: the finder's top edge, 20 pixels down.
    const size_t top_row_in_file = 145 - 1 - 20;
    EXPECT_EQ(f[54 + top_row_in_file * stride + 3 * 20], 0x00);
}

TEST(BitmapFile, NoQuietZonePutsTheFirstDarkPixelInTheLastStoredRow) {
    const std::vector<uint8_t> m = Version1Matrix();
    const std::vector<uint8_t> f = BuildBitmapFile(m.data(), 21, 4, 0);
    const size_t w = 84, stride = 252;
    ASSERT_EQ(f.size(), 54 + stride * w);
    const size_t last_row = 54 + (w - 1) * stride;
    EXPECT_EQ(f[last_row], 0x00);
    EXPECT_EQ(f[last_row + 2], 0x00);
    // Image row y is file row 83 - y, pixel x at byte 3x: every pixel against its module. The
    // top and bottom module rows differ (a finder top right only), so no flip passes.
    for (size_t y = 0; y < w; ++y)
        for (size_t x = 0; x < w; ++x)
            ASSERT_EQ(f[54 + (w - 1 - y) * stride + 3 * x], m[(y / 4) * 21 + x / 4] ? 0x00 : 0xFF)
                << "pixel (" << x << ", " << y << ")";
}

TEST(BitmapFile, SizesBeyondTheLimitsAreRefusedBeforeAllocating) {
    const std::vector<uint8_t> m = Version1Matrix();
    struct Case {
        int pitch, quiet;
        bool allowed;
    };
    for (const Case& c :
         {Case{41032148, 1377166898, false},  // a 32-bit stride x width wraps
          Case{2000000000, 0, false}, Case{2147483647, 2147483647, false},
          Case{1, 1073741823, false}, Case{3121, 0, false},  // 65,541 a side
          Case{451, 0, false},  // 9,471 a side: just over 256 MiB of pixels
          Case{1, 4719, false}, Case{450, 0, true}, Case{1, 4718, true}, Case{4, 4, true}}) {
        EXPECT_EQ(BitmapSizeAllowed(21, c.pitch, c.quiet), c.allowed) << c.pitch << " " << c.quiet;
        if (!c.allowed) {
            EXPECT_TRUE(BuildBitmapFile(m.data(), 21, c.pitch, c.quiet).empty());
            testing::TempDir dir;
            EXPECT_EQ(WriteBitmapFile(dir.File("a.bmp"), m.data(), 21, c.pitch, c.quiet),
                      BitmapResult::kTooLarge);
            EXPECT_FALSE(FileExists(dir.File("a.bmp")));
        }
    }
}

TEST(BitmapFile, NonsenseSizesAreRefused) {
    const std::vector<uint8_t> m = Version1Matrix();
    EXPECT_TRUE(BuildBitmapFile(m.data(), 21, 0, 4).empty());
    EXPECT_TRUE(BuildBitmapFile(m.data(), 21, 4, -1).empty());
    testing::TempDir dir;
    EXPECT_EQ(WriteBitmapFile(dir.File("a.bmp"), m.data(), 21, 0, 4), BitmapResult::kWriteFailed);
    EXPECT_EQ(WriteBitmapFile(dir.File("b.bmp"), m.data(), 21, 4, -1), BitmapResult::kWriteFailed);
    EXPECT_FALSE(FileExists(dir.File("a.bmp")));
    EXPECT_FALSE(FileExists(dir.File("b.bmp")));
}

TEST(BitmapFile, WritesTheFileAndFailsWithoutDamage) {
    const std::vector<uint8_t> m = Version1Matrix();
    testing::TempDir dir;
    const std::string path = dir.File("symbol.bmp");
    ASSERT_EQ(WriteBitmapFile(path, m.data(), 21, 4, 4), BitmapResult::kWritten);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes.size(), 40422u);

    EXPECT_EQ(WriteBitmapFile(dir.File("missing/symbol.bmp"), m.data(), 21, 4, 4),
              BitmapResult::kWriteFailed);

    // A write that fails half-way (the file size limit binds even root) leaves the old file.
    {
        testing::FileSizeLimit limit(1000);
        EXPECT_EQ(WriteBitmapFile(path, m.data(), 21, 5, 4), BitmapResult::kWriteFailed);
    }
    std::string after;
    ASSERT_TRUE(ReadWholeFile(path, after));
    EXPECT_EQ(after, bytes);
}

}  // namespace
}  // namespace tirrel
