#include "app/encode_symbol.h"

#include <gtest/gtest.h>

#include <string>

namespace tirrel {
namespace {

TEST(EncodeSymbol, VersionAboveTenIsRefused) {
    EXPECT_EQ(EncodeSymbol("A", 11, 0), nullptr);
    EXPECT_EQ(EncodeSymbol("", 1, 0), nullptr);
    EXPECT_NE(EncodeSymbol("A", 10, 0), nullptr);
}

TEST(EncodeSymbol, AZeroByteRefusesThePayloadInsteadOfCuttingIt) {
    using namespace std::string_literals;
    EXPECT_EQ(EncodeSymbol("AB\0CD"s, 0, 0), nullptr);
    EXPECT_EQ(EncodeSymbol("\0"s, 0, 0), nullptr);
    EXPECT_EQ(EncodeSymbol("ABCD\0"s, 1, 0), nullptr);
    // The length is the caller's: bytes after it play no part.
    EXPECT_EQ(EncodeSymbol(std::string_view("ABCD", 2), 1, 0)->modules,
              EncodeSymbol("AB", 1, 0)->modules);
}

TEST(EncodeSymbol, NegativeVersionPassesTheGlueButTheEncoderRefuses) {
    EXPECT_EQ(EncodeSymbol("A", -1, 0), nullptr);
    EXPECT_EQ(EncodeSymbol("A", -40, 3), nullptr);
}

TEST(EncodeSymbol, RequestedVersionIsNeverReduced) {
    EncodedSymbolPtr s = EncodeSymbol("A", 5, 0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->width, 37);
    EXPECT_EQ(s->version, 5);
    ASSERT_EQ(s->modules.size(), size_t(37 * 37));
    for (uint8_t m : s->modules)
        ASSERT_TRUE(m == 0 || m == 1);
    // Top-left finder: dark corner, light separator.
    EXPECT_EQ(s->modules[0], 1);
    EXPECT_EQ(s->modules[7], 0);
    FreeSymbol(std::move(s));
    FreeSymbol(nullptr);
}

TEST(EncodeSymbol, AutomaticVersionStopsAtTen) {
    // 271 bytes of lower-case text need exactly version 10 at L.
    const std::string fits(271, 'a');
    EncodedSymbolPtr s = EncodeSymbol(fits.c_str(), 0, 0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->width, 57);
    const std::string more = fits + "a";
    EXPECT_EQ(EncodeSymbol(more.c_str(), 0, 0), nullptr);
    // The same payload with CodeVersion 3 needs 4: refused; 4 gives 33 x 33.
    const std::string sixty(60, 'a');
    EXPECT_EQ(EncodeSymbol(sixty.c_str(), 3, 0), nullptr);
    ASSERT_NE(EncodeSymbol(sixty.c_str(), 4, 0), nullptr);
    EXPECT_EQ(EncodeSymbol(sixty.c_str(), 4, 0)->width, 33);
}

TEST(LevelFromEccSetting, OnlyOneToThreeKeepTheirValue) {
    EXPECT_EQ(LevelFromEccSetting(0), 0);
    EXPECT_EQ(LevelFromEccSetting(1), 1);
    EXPECT_EQ(LevelFromEccSetting(2), 2);
    EXPECT_EQ(LevelFromEccSetting(3), 3);
    EXPECT_EQ(LevelFromEccSetting(4), 0);
    EXPECT_EQ(LevelFromEccSetting(-1), 0);
    EXPECT_EQ(LevelFromEccSetting(99), 0);
    // The empty fifth entry encodes exactly as L.
    const char* text = "HELLO 4";
    EXPECT_EQ(EncodeSymbol(text, 0, LevelFromEccSetting(4))->modules,
              EncodeSymbol(text, 0, 0)->modules);
}

}  // namespace
}  // namespace tirrel
