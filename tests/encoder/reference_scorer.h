// A plain, module-by-module scorer written straight from the scoring rules, kept apart from
// the encoder's own so that the two can be compared.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace tirrel::testing {

inline int ReferenceLineScore(const std::vector<int>& line) {
    std::vector<int> runs;
    if (line[0] == 1) runs.push_back(-1);
    size_t k = 0;
    while (k < line.size()) {
        size_t e = k;
        while (e < line.size() && line[e] == line[k])
            ++e;
        runs.push_back(int(e - k));
        k = e;
    }
    int score = 0;
    for (int r : runs)
        if (r >= 5) score += 3 + (r - 5);
    const int count = int(runs.size());
    for (int i = 3; i < count - 2; i += 2) {
        if (runs[i] % 3) continue;
        const int f = runs[i] / 3;
        if (runs[i - 2] == f && runs[i - 1] == f && runs[i + 1] == f && runs[i + 2] == f) {
            if (runs[i - 3] == -1 || runs[i - 3] >= 4 * f)
                score += 40;
            else if (i + 3 >= count || runs[i + 3] >= 4 * f)
                score += 40;
        }
    }
    return score;
}

// Total of a width x width matrix of module bytes (bit 0 = dark).
inline int ReferenceTotal(const std::vector<uint8_t>& m, int w) {
    auto dark = [&](int i, int j) { return m[size_t(i * w + j)] & 1; };
    int count = 0;
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < w; ++j)
            count += dark(i, j);
    int total = std::abs(count * 100 / (w * w) - 50) / 5 * 10;
    for (int i = 0; i < w; ++i) {
        std::vector<int> row, col;
        for (int j = 0; j < w; ++j) {
            row.push_back(dark(i, j));
            col.push_back(dark(j, i));
        }
        total += ReferenceLineScore(row) + ReferenceLineScore(col);
    }
    for (int i = 1; i < w; ++i)
        for (int j = 1; j < w; ++j) {
            const int c = dark(i, j);
            if (dark(i - 1, j) == c && dark(i, j - 1) == c && dark(i - 1, j - 1) == c) total += 3;
        }
    return total;
}

}  // namespace tirrel::testing
