#include "encoder/optimal_segmenting.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "encoder/bitstream.h"

namespace tirrel::encoder {
namespace {

size_t Bits(const std::vector<Segment>& segments, int version) {
    return EncodeSegments(segments, version).size();
}

// Every assignment of a mode to each character, adjacent equal modes merged.
size_t BruteForceBits(std::string_view text, int version, bool chinese) {
    size_t best = SIZE_MAX;
    std::vector<Segment> segments;
    std::function<void(size_t)> walk = [&](size_t p) {
        if (p == text.size()) {
            best = std::min(best, Bits(segments, version));
            return;
        }
        for (Mode mode : {Mode::kNumeric, Mode::kAlphanumeric, Mode::kByte, Mode::kChinese}) {
            const auto c = static_cast<unsigned char>(text[p]);
            size_t len = 1;
            if (mode == Mode::kNumeric && (c < '0' || c > '9')) continue;
            if (mode == Mode::kAlphanumeric && AlphanumericValue(c) < 0) continue;
            if (mode == Mode::kChinese) {
                if (!chinese || p + 1 >= text.size() || ModeAt(text, p) != Mode::kChinese) continue;
                len = 2;
            }
            const bool extend = !segments.empty() && segments.back().mode == mode;
            if (extend)
                segments.back().bytes += text.substr(p, len);
            else
                segments.push_back({mode, std::string(text.substr(p, len))});
            walk(p + len);
            if (extend)
                segments.back().bytes.resize(segments.back().bytes.size() - len);
            else
                segments.pop_back();
        }
    };
    walk(0);
    return best;
}

TEST(OptimalSegments, NeverMoreBitsThanAnySplitAndKeepsTheBytes) {
    // Digits, upper case and space, lower case, GB2312, GBK outside GB2312, a lone high byte.
    const std::vector<std::string> pieces = {"0",        "7",        "42",       "A",   "Z",
                                             " ",        ":",        "a",        ";",   "\xD5\xC5",
                                             "\xA3\xAC", "\x81\x40", "\xB0\x41", "\xFE"};
    std::mt19937 rng(13);
    for (int version : {1, 10, 27}) {
        for (bool chinese : {true, false}) {
            for (int round = 0; round < 400; ++round) {
                std::string text;
                const int pieceCount = 1 + int(rng() % 8);
                for (int i = 0; i < pieceCount; ++i)
                    text += pieces[rng() % pieces.size()];
                const std::vector<Segment> got = OptimalSegments(text, version, chinese);
                std::string joined;
                for (const Segment& s : got) {
                    joined += s.bytes;
                    EXPECT_TRUE(chinese || s.mode != Mode::kChinese);
                }
                ASSERT_EQ(joined, text);
                const size_t bits = Bits(got, version);
                EXPECT_EQ(bits, BruteForceBits(text, version, chinese))
                    << text << " at " << version;
                EXPECT_LE(bits, Bits(SplitSegments(text, version, chinese), version)) << text;
            }
        }
    }
}

}  // namespace
}  // namespace tirrel::encoder
