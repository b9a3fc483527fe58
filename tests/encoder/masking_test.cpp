#include "encoder/masking.h"

#include <gtest/gtest.h>

#include <random>

#include "encoder/packed_masking.h"
#include "reference_scorer.h"

namespace tirrel::encoder {
namespace {

using testing::ReferenceLineScore;
using testing::ReferenceTotal;

std::vector<uint8_t> RandomMatrix(std::mt19937& rng, int w, int dark_percent) {
    std::uniform_int_distribution<int> d(0, 99);
    std::vector<uint8_t> m(size_t(w * w));
    for (uint8_t& v : m)
        v = d(rng) < dark_percent ? 1 : 0;
    return m;
}

// Draws finder-like runs f:f:3f:f:f into random rows so that the rarer cases occur.
void PlantFinders(std::mt19937& rng, std::vector<uint8_t>& m, int w) {
    std::uniform_int_distribution<int> pick(0, w - 1);
    for (int n = 0; n < w / 2; ++n) {
        const int f = 1 + n % 4;
        if (7 * f > w) continue;
        const int row = pick(rng);
        const int start = std::uniform_int_distribution<int>(0, w - 7 * f)(rng);
        const int pattern[7] = {1, 0, 1, 1, 1, 0, 1};
        for (int k = 0; k < 7 * f; ++k)
            m[size_t(row * w + start + k)] = uint8_t(pattern[k / f]);
        // Sometimes a light margin of 4f on one side.
        for (int k = 1; k <= 4 * f && n % 3 == 0; ++k)
            if (start - k >= 0) m[size_t(row * w + start - k)] = 0;
    }
}

uint64_t PackRow(const std::vector<uint8_t>& m, int w, int row) {
    uint64_t x = 0;
    for (int j = 0; j < w; ++j)
        x |= uint64_t(m[size_t(row * w + j)] & 1) << j;
    return x;
}

TEST(Scoring, PackedLinesEqualTheReference) {
    std::mt19937 rng(7);
    for (int round = 0; round < 400; ++round) {
        const int w = 7 + round % 58;
        std::vector<uint8_t> m = RandomMatrix(rng, w, 20 + round % 60);
        PlantFinders(rng, m, w);
        for (int i = 0; i < w; ++i) {
            std::vector<int> line(m.begin() + i * w, m.begin() + (i + 1) * w);
            ASSERT_EQ(PackedLinePenalty(PackRow(m, w, i), w), ReferenceLineScore(line))
                << "width " << w << " row " << i;
            ASSERT_EQ(LinePenalty(&m[size_t(i * w)], 1, w), ReferenceLineScore(line));
        }
    }
}

TEST(Scoring, LineCasesAtTheEdges) {
    // Starts dark: the marker makes the pattern at the line start count.
    EXPECT_EQ(ReferenceLineScore({1, 0, 1, 1, 1, 0, 1, 1}), 0);
    EXPECT_EQ(PackedLinePenalty(0b1011101, 7), 40);
    EXPECT_EQ(PackedLinePenalty(0b1011101, 8), 40);        // followed by one light module
    EXPECT_EQ(PackedLinePenalty(0b1011101 << 1, 8), 40);   // ends at the line end
    EXPECT_EQ(PackedLinePenalty(0b1011101 << 1, 9), 0);    // one light module each side
    EXPECT_EQ(PackedLinePenalty(0b1011101 << 4, 11), 40);  // four light before
    EXPECT_EQ(PackedLinePenalty(0x1F, 5), 3);              // a run of five
    EXPECT_EQ(PackedLinePenalty(0, 9), 7);                 // one light run of nine
    // f = 2 at the end of a 64-module line, with 4f light before it.
    const uint64_t wide = uint64_t(0b11001111110011) << 50;
    EXPECT_EQ(PackedLinePenalty(wide, 64), ReferenceLineScore([&] {
                  std::vector<int> l;
                  for (int j = 0; j < 64; ++j)
                      l.push_back(int((wide >> j) & 1));
                  return l;
              }()));
}

TEST(Scoring, WholeMatrixTotalsEqualTheReference) {
    std::mt19937 rng(11);
    for (int round = 0; round < 60; ++round) {
        const int w = 21 + (round * 4) % 48;
        std::vector<uint8_t> m = RandomMatrix(rng, w, 50);
        PlantFinders(rng, m, w);
        EXPECT_EQ(TotalPenalty(m, w), ReferenceTotal(m, w)) << "width " << w;
    }
}

TEST(Scoring, DarkPenaltyTruncates) {
    EXPECT_EQ(DarkPenalty(220, 21), 0);   // 49 %
    EXPECT_EQ(DarkPenalty(199, 21), 10);  // 45.1 % -> 45
    EXPECT_EQ(DarkPenalty(198, 21), 10);  // 44.9 % -> 44 -> 6 div 5
    EXPECT_EQ(DarkPenalty(176, 21), 20);  // 39.9 % -> 39
    EXPECT_EQ(DarkPenalty(441, 21), 100);
    EXPECT_EQ(DarkPenalty(0, 21), 100);
}

std::vector<uint8_t> Checkerboard(int w) {
    std::vector<uint8_t> m(size_t(w * w));
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < w; ++j)
            m[size_t(i * w + j)] = uint8_t((i + j) % 2);
    return m;
}

int SelectAmong(const std::vector<std::vector<uint8_t>>& copies, int w, std::vector<int>* scored) {
    return SelectMask(
        int(copies.size()),
        [&](int m) {
            int dark = 0;
            for (uint8_t v : copies[size_t(m)])
                dark += v & 1;
            return DarkPenalty(dark, w);
        },
        [&](int m) {
            int dark = 0;
            for (uint8_t v : copies[size_t(m)])
                dark += v & 1;
            return TotalPenalty(copies[size_t(m)], w) - DarkPenalty(dark, w);
        },
        scored);
}

TEST(Selection, TiesKeepTheLowerMask) {
    const int w = 8;
    std::vector<uint8_t> a = Checkerboard(w), b = Checkerboard(w);
    for (int j = 0; j < w; ++j)
        b[size_t(j)] = 1;  // a run of eight costs something
    std::vector<int> scored;
    EXPECT_EQ(SelectAmong({b, a, a}, w, &scored), 1);
    EXPECT_EQ(scored, (std::vector<int>{0, 1, 2}));
}

TEST(Selection, DarkPenaltyAloneAboveTheBestDropsTheMask) {
    const int w = 8;
    const std::vector<uint8_t> board = Checkerboard(w);  // total 0
    const std::vector<uint8_t> dark(size_t(w * w), 1);   // P4 = 100
    std::vector<int> scored;
    EXPECT_EQ(SelectAmong({board, dark, board}, w, &scored), 0);
    EXPECT_EQ(scored, (std::vector<int>{0, 2}));
    // Scored in full while no better total is known.
    scored.clear();
    EXPECT_EQ(SelectAmong({dark, board}, w, &scored), 1);
    EXPECT_EQ(scored, (std::vector<int>{0, 1}));
}

TEST(Selection, EqualDarkPenaltyIsStillScored) {
    const int w = 10;
    std::vector<uint8_t> light_heavy(size_t(w * w), 0);
    for (int k = 0; k < 45; ++k)
        light_heavy[size_t(k * 2)] = 1;  // 45 % dark: P4 = 10, many runs
    std::vector<uint8_t> tuned = light_heavy;
    ASSERT_EQ(DarkPenalty(45, w), 10);
    std::vector<int> scored;
    SelectAmong({light_heavy, tuned}, w, &scored);
    EXPECT_EQ(scored.size(), 2u);
}

TEST(Masks, ConditionsOfTheEightMasks) {
    EXPECT_TRUE(MaskApplies(0, 1, 1));
    EXPECT_FALSE(MaskApplies(0, 0, 1));
    EXPECT_TRUE(MaskApplies(1, 2, 5));
    EXPECT_TRUE(MaskApplies(2, 5, 3));
    EXPECT_FALSE(MaskApplies(2, 5, 4));
    EXPECT_TRUE(MaskApplies(3, 1, 2));
    EXPECT_TRUE(MaskApplies(4, 2, 3));
    EXPECT_FALSE(MaskApplies(4, 2, 0));
    EXPECT_TRUE(MaskApplies(5, 0, 7));
    EXPECT_FALSE(MaskApplies(5, 1, 1));
    EXPECT_FALSE(MaskApplies(6, 1, 3));
    EXPECT_TRUE(MaskApplies(6, 2, 3));
    EXPECT_TRUE(MaskApplies(7, 0, 0));
    EXPECT_FALSE(MaskApplies(7, 0, 1));
    std::vector<uint8_t> m = {0x02, 0x03, 0x80, 0x81};
    ApplyMask(m, 2, 1);  // row 0 only, function modules untouched
    EXPECT_EQ(m, (std::vector<uint8_t>{0x03, 0x02, 0x80, 0x81}));
}

}  // namespace
}  // namespace tirrel::encoder
