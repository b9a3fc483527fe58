#include "encoder/masking.h"

#include <cstddef>
#include <cstdlib>

#include "encoder/module.h"

namespace tirrel::encoder {

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
            uint8_t& v = modules[ModuleIndex(i, j, width)];
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
        const bool c = IsDark(first[static_cast<std::ptrdiff_t>(k) * step]);
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

int TotalPenalty(const std::vector<uint8_t>& modules, int w) {
    int dark = 0;
    for (uint8_t v : modules)
        dark += IsDark(v);
    int total = DarkPenalty(dark, w);
    for (int i = 0; i < w; ++i) {
        total += LinePenalty(&modules[ModuleIndex(i, 0, w)], 1, w);
        total += LinePenalty(&modules[size_t(i)], w, w);
    }
    for (int i = 1; i < w; ++i)
        for (int j = 1; j < w; ++j) {
            const bool c = IsDark(modules[ModuleIndex(i, j, w)]);
            if (IsDark(modules[ModuleIndex(i, j - 1, w)]) == c &&
                IsDark(modules[ModuleIndex(i - 1, j, w)]) == c &&
                IsDark(modules[ModuleIndex(i - 1, j - 1, w)]) == c)
                total += 3;
        }
    return total;
}

}  // namespace tirrel::encoder
