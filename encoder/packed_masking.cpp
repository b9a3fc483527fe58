#include "encoder/packed_masking.h"

#include <bit>
#include <cstddef>

#include "encoder/masking.h"
#include "encoder/module.h"

namespace tirrel::encoder {
namespace {

// Portable builds have no popcount instruction and std::popcount becomes a library call;
// this stays inline.
int BitCount(uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555ULL);
    x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return int((x * 0x0101010101010101ULL) >> 56);
}

uint64_t LowBits(int n) {
    return n >= 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1;
}

// Bits [at, at + n) of x, shifted down to bit 0.
uint64_t BitsAt(uint64_t x, int at, int n) {
    return (x >> at) & LowBits(n);
}

// Finder-like patterns dark:light:dark:light:dark = f:f:3f:f:f with f >= 2, found from their
// centre runs (dark runs of 6 or more); f = 1 is handled with whole-line bit operations.
int WideFinderScore(uint64_t x, uint64_t light, int w) {
    uint64_t d6 = x;
    for (int k = 1; k < 6; ++k)
        d6 &= x >> k;
    // A centre run follows at least two light modules (f >= 2).
    uint64_t centres = d6 & (light << 1) & (light << 2);
    int score = 0;
    while (centres) {
        const int c = std::countr_zero(centres);
        centres &= centres - 1;
        const uint64_t above = ~(x >> c);
        const int len = above ? std::countr_zero(above) : 64 - c;
        if (len % 3 != 0) continue;
        const int f = len / 3;
        const int s = c - 2 * f;
        if (s < 0 || s + 7 * f > w) continue;
        if (BitsAt(x, s, f) != LowBits(f) || BitsAt(x, s + f, f) != 0 ||
            BitsAt(x, c + 3 * f, f) != 0 || BitsAt(x, c + 4 * f, f) != LowBits(f))
            continue;
        if (s > 0 && ((x >> (s - 1)) & 1)) continue;
        if (s + 7 * f < w && ((x >> (s + 7 * f)) & 1)) continue;
        const bool before =
            s == 0 || (s >= 4 * f && BitsAt(light, s - 4 * f, 4 * f) == LowBits(4 * f));
        const bool after = s + 7 * f == w ||
                           (s + 11 * f <= w && BitsAt(light, s + 7 * f, 4 * f) == LowBits(4 * f));
        if (before || after) score += 40;
    }
    return score;
}

int PackedBlockPenalty(const uint64_t* rows, int w) {
    const uint64_t all = LowBits(w);
    int count = 0;
    for (int i = 1; i < w; ++i) {
        const uint64_t a = rows[i], b = rows[i - 1];
        const uint64_t la = ~a & all, lb = ~b & all;
        const uint64_t dark = a & b & (a << 1) & (b << 1);
        const uint64_t light = la & lb & (la << 1) & (lb << 1);
        count += BitCount(dark | light);
    }
    return 3 * count;
}

struct MaskPatterns {
    // rows[m][i]: bit j set where mask m inverts module (i, j); cols[m][j]: bit i likewise.
    uint64_t rows[8][kPackedMaxWidth];
    uint64_t cols[8][kPackedMaxWidth];
};

const MaskPatterns& AllMaskPatterns() {
    static const MaskPatterns kPatterns = [] {
        MaskPatterns p{};
        for (int m = 0; m < 8; ++m)
            for (int i = 0; i < kPackedMaxWidth; ++i)
                for (int j = 0; j < kPackedMaxWidth; ++j)
                    if (MaskApplies(m, i, j)) {
                        p.rows[m][i] |= uint64_t(1) << j;
                        p.cols[m][j] |= uint64_t(1) << i;
                    }
        return p;
    }();
    return kPatterns;
}

}  // namespace

int ChooseMaskPacked(const PackedSymbol& p) {
    const int w = p.width;
    const MaskPatterns& pat = AllMaskPatterns();
    uint64_t rows[kPackedMaxWidth], cols[kPackedMaxWidth];
    auto dark = [&](int m) {
        int count = 0;
        for (int i = 0; i < w; ++i) {
            rows[i] = p.dark_rows[i] ^ (pat.rows[m][i] & p.free_rows[i]);
            count += BitCount(rows[i]);
        }
        return DarkPenalty(count, w);
    };
    auto lines = [&](int m) {
        int total = PackedBlockPenalty(rows, w);
        for (int i = 0; i < w; ++i)
            total += PackedLinePenalty(rows[i], w);
        for (int j = 0; j < w; ++j) {
            cols[j] = p.dark_cols[j] ^ (pat.cols[m][j] & p.free_cols[j]);
            total += PackedLinePenalty(cols[j], w);
        }
        return total;
    };
    return SelectMask(8, dark, lines);
}

int PackedLinePenalty(uint64_t x, int w) {
    const uint64_t all = LowBits(w);
    x &= all;
    const uint64_t light = ~x & all;
    // A run of r >= 5 scores r - 2: one per five-module window inside it, two per run.
    const uint64_t same = ~(x ^ (x >> 1)) & (all >> 1);  // bit j: modules j, j+1 equal
    const uint64_t five = same & (same >> 1) & (same >> 2) & (same >> 3);
    const uint64_t five_starts = five & ~(same << 1);
    int score = five ? BitCount(five) + 2 * BitCount(five_starts) : 0;
    if (w < 7) return score;
    // 1:1:3:1:1, bounded by light modules or the line's ends.
    const uint64_t core =
        x & (light >> 1) & (x >> 2) & (x >> 3) & (x >> 4) & (light >> 5) & (x >> 6);
    const uint64_t end_mark = uint64_t(1) << (w - 7);
    const uint64_t found = core & ((light << 1) | 1) & ((light >> 7) | end_mark);
    if (found) {
        const uint64_t light4 = light & (light >> 1) & (light >> 2) & (light >> 3);
        const uint64_t before = (light4 << 4) | 1;
        const uint64_t after = (light4 >> 7) | end_mark;
        score += 40 * BitCount(found & (before | after));
    }
    return score + WideFinderScore(x, light, w);
}

void ApplyMaskPacked(std::vector<uint8_t>& modules, const PackedSymbol& symbol, int mask) {
    const MaskPatterns& pat = AllMaskPatterns();
    const int w = symbol.width;
    for (int i = 0; i < w; ++i) {
        uint64_t flips = pat.rows[mask][i] & symbol.free_rows[i];
        while (flips) {
            modules[ModuleIndex(i, std::countr_zero(flips), w)] ^= kDark;
            flips &= flips - 1;
        }
    }
}

}  // namespace tirrel::encoder
