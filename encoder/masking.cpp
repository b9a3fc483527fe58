#include "encoder/masking.h"

#include <array>
#include <bit>
#include <cstdlib>

#include "encoder/module.h"

namespace tirrel::encoder {
namespace {

constexpr int kPackedMaxWidth = 64;

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

int ChooseMask(const std::vector<uint8_t>& modules, int w) {
    std::vector<uint8_t> copy;
    int p4 = 0;
    auto dark = [&](int m) {
        copy = modules;
        ApplyMask(copy, w, m);
        int count = 0;
        for (uint8_t v : copy)
            count += IsDark(v);
        p4 = DarkPenalty(count, w);
        return p4;
    };
    auto lines = [&](int) { return TotalPenalty(copy, w) - p4; };
    return SelectMask(8, dark, lines);
}

bool MaskApplies(int mask, int i, int j) {
    switch (mask) {
        case 0:
            return (i + j) % 2 == 0;
        case 1:
            return i % 2 == 0;
        case 2:
            return j % 3 == 0;
        case 3:
            return (i + j) % 3 == 0;
        case 4:
            return (i / 2 + j / 3) % 2 == 0;
        case 5:
            return (i * j) % 2 + (i * j) % 3 == 0;
        case 6:
            return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
        case 7:
            return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
        default:
            return false;
    }
}

void ApplyMask(std::vector<uint8_t>& modules, int width, int mask) {
    for (int i = 0; i < width; ++i)
        for (int j = 0; j < width; ++j) {
            uint8_t& v = modules[size_t(i * width + j)];
            if (!IsFunction(v) && MaskApplies(mask, i, j)) v ^= kDark;
        }
}

int DarkPenalty(int dark, int width) {
    return std::abs(dark * 100 / (width * width) - 50) / 5 * 10;
}

int RunListPenalty(const std::vector<int>& runs) {
    const int count = int(runs.size());
    int score = 0;
    for (int r : runs)
        if (r >= 5) score += 3 + (r - 5);
    for (int i = 3; i < count - 2; i += 2) {
        if (runs[i] % 3 != 0) continue;
        const int f = runs[i] / 3;
        if (runs[i - 2] != f || runs[i - 1] != f || runs[i + 1] != f || runs[i + 2] != f) continue;
        if (runs[i - 3] == -1 || runs[i - 3] >= 4 * f || i + 3 >= count || runs[i + 3] >= 4 * f)
            score += 40;
    }
    return score;
}

int LinePenalty(const uint8_t* first, int step, int n) {
    std::vector<int> runs;
    if (n > 0 && IsDark(first[0])) runs.push_back(-1);
    bool colour = IsDark(first[0]);
    int length = 0;
    for (int k = 0; k < n; ++k) {
        const bool c = IsDark(first[k * step]);
        if (c == colour) {
            ++length;
        } else {
            runs.push_back(length);
            colour = c;
            length = 1;
        }
    }
    runs.push_back(length);
    return RunListPenalty(runs);
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

int TotalPenalty(const std::vector<uint8_t>& modules, int w) {
    int dark = 0;
    for (uint8_t v : modules)
        dark += IsDark(v);
    int total = DarkPenalty(dark, w);
    for (int i = 0; i < w; ++i) {
        total += LinePenalty(&modules[size_t(i * w)], 1, w);
        total += LinePenalty(&modules[size_t(i)], w, w);
    }
    for (int i = 1; i < w; ++i)
        for (int j = 1; j < w; ++j) {
            const bool c = IsDark(modules[size_t(i * w + j)]);
            if (IsDark(modules[size_t(i * w + j - 1)]) == c &&
                IsDark(modules[size_t((i - 1) * w + j)]) == c &&
                IsDark(modules[size_t((i - 1) * w + j - 1)]) == c)
                total += 3;
        }
    return total;
}

void ApplyMaskPacked(std::vector<uint8_t>& modules, const PackedSymbol& symbol, int mask) {
    const MaskPatterns& pat = AllMaskPatterns();
    const int w = symbol.width;
    for (int i = 0; i < w; ++i) {
        uint64_t flips = pat.rows[mask][i] & symbol.free_rows[i];
        while (flips) {
            modules[size_t(i * w + std::countr_zero(flips))] ^= kDark;
            flips &= flips - 1;
        }
    }
}

}  // namespace tirrel::encoder
