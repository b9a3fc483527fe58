#include "encoder/matrix.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "encoder/module.h"
#include "encoder/packed_masking.h"
#include "encoder/tables.h"

namespace tirrel::encoder {
namespace {

constexpr int kFormatLevelBits[4] = {1, 0, 3, 2};  // L, M, Q, H

struct Canvas {
    int width;
    std::vector<uint8_t>& m;
    void Set(int row, int col, uint8_t value) { m[ModuleIndex(row, col, width)] = value; }
};

void DrawTiming(Canvas& c) {
    for (int i = 0; i < c.width; ++i) {
        const uint8_t dark = (i % 2 == 0) ? 1 : 0;
        c.Set(6, i, kTiming | dark);
        c.Set(i, 6, kTiming | dark);
    }
}

void DrawAlignment(Canvas& c, int row, int col) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const int d = std::max(std::abs(dx), std::abs(dy));
            c.Set(row + dy, col + dx, kAlignment | (d != 1 ? 1 : 0));
        }
}

void DrawAlignments(Canvas& c, int version) {
    const std::vector<int> pos = AlignmentPositions(version);
    const size_t n = pos.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j) {
            const bool at_finder =
                (i == 0 && j == 0) || (i == 0 && j == n - 1) || (i == n - 1 && j == 0);
            if (!at_finder) DrawAlignment(c, pos[i], pos[j]);
        }
}

// A finder pattern centred at (row, col) with its separator, clipped to the symbol.
void DrawFinder(Canvas& c, int row, int col) {
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            const int r = row + dy, k = col + dx;
            if (r < 0 || r >= c.width || k < 0 || k >= c.width) continue;
            const int d = std::max(std::abs(dx), std::abs(dy));
            c.Set(r, k, kFinder | (d != 2 && d != 4 ? 1 : 0));
        }
}

void ReserveFormatAreas(Canvas& c) {
    const int w = c.width;
    for (int i = 0; i <= 8; ++i) {
        if (i == 6) continue;
        c.Set(8, i, kFormat);
        c.Set(i, 8, kFormat);
    }
    for (int i = 0; i < 8; ++i) {
        c.Set(8, w - 1 - i, kFormat);
        c.Set(w - 1 - i, 8, kFormat);
    }
    c.Set(w - 8, 8, kDarkModule);
}

void DrawVersionInformation(Canvas& c, int version) {
    if (version < 7) return;
    const uint32_t bits = VersionInformation(version);
    for (int i = 0; i < 18; ++i) {
        const uint8_t value = kVersionInfo | ((bits >> i) & 1);
        const int a = c.width - 11 + i % 3;
        const int b = i / 3;
        c.Set(a, b, value);  // lower-left block
        c.Set(b, a, value);  // upper-right block
    }
}

std::vector<ModulePos> PlacementOrder(const std::vector<uint8_t>& modules, int width) {
    std::vector<ModulePos> order;
    for (int right = width - 1; right >= 1; right -= 2) {
        if (right == 6) right = 5;  // the vertical timing pattern is skipped whole
        const bool upward = ((right + 1) & 2) == 0;
        for (int vert = 0; vert < width; ++vert) {
            const int row = upward ? width - 1 - vert : vert;
            for (int j = 0; j < 2; ++j) {
                const int col = right - j;
                const int index = row * width + col;
                if (IsFunction(modules[size_t(index)])) continue;
                order.push_back({uint16_t(index), uint8_t(row), uint8_t(col)});
            }
        }
    }
    return order;
}

void PackTemplate(FunctionTemplate& t) {
    const size_t w = size_t(t.width);
    t.dark_rows.assign(w, 0);
    t.dark_cols.assign(w, 0);
    t.free_rows.assign(w, 0);
    t.free_cols.assign(w, 0);
    for (size_t i = 0; i < w; ++i)
        for (size_t j = 0; j < w; ++j) {
            const uint8_t v = t.modules[i * w + j];
            if (IsDark(v)) {
                t.dark_rows[i] |= uint64_t(1) << j;
                t.dark_cols[j] |= uint64_t(1) << i;
            }
            if (!IsFunction(v)) {
                t.free_rows[i] |= uint64_t(1) << j;
                t.free_cols[j] |= uint64_t(1) << i;
            }
        }
}

FunctionTemplate BuildTemplate(int version) {
    FunctionTemplate t;
    t.version = version;
    t.width = SymbolWidth(version);
    t.modules.assign(ModuleIndex(t.width, 0, t.width), kDataLight);
    Canvas c{t.width, t.modules};
    DrawTiming(c);
    DrawAlignments(c, version);
    DrawFinder(c, 3, 3);
    DrawFinder(c, 3, t.width - 4);
    DrawFinder(c, t.width - 4, 3);
    ReserveFormatAreas(c);
    DrawVersionInformation(c, version);
    t.order = PlacementOrder(t.modules, t.width);
    if (t.width <= kPackedMaxWidth) PackTemplate(t);
    return t;
}

}  // namespace

std::vector<int> AlignmentPositions(int version) {
    if (version == 1) return {};
    const int count = version / 7 + 2;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    std::vector<int> pos(static_cast<size_t>(count));
    pos[0] = 6;
    int p = SymbolWidth(version) - 7;
    for (int i = count - 1; i >= 1; --i, p -= step)
        pos[size_t(i)] = p;
    return pos;
}

uint32_t VersionInformation(int version) {
    uint32_t rem = uint32_t(version);
    for (int i = 0; i < 12; ++i)
        rem = (rem << 1) ^ ((rem >> 11) * 0x1F25);
    return uint32_t(version) << 12 | rem;
}

uint32_t FormatInformation(Level level, int mask) {
    const uint32_t data = uint32_t(kFormatLevelBits[LevelIndex(level)] << 3 | mask);
    uint32_t rem = data;
    for (int i = 0; i < 10; ++i)
        rem = (rem << 1) ^ ((rem >> 9) * 0x537);
    return (data << 10 | rem) ^ 0x5412;
}

const FunctionTemplate& TemplateOf(int version) {
    static const std::array<FunctionTemplate, kMaxVersion + 1> kTemplates = [] {
        std::array<FunctionTemplate, kMaxVersion + 1> all;
        for (int v = kMinVersion; v <= kMaxVersion; ++v)
            all[size_t(v)] = BuildTemplate(v);
        return all;
    }();
    return kTemplates[size_t(version)];
}

void PlaceCodewords(const FunctionTemplate& tpl, const std::vector<uint8_t>& codewords,
                    std::vector<uint8_t>& modules) {
    const size_t bits = std::min(codewords.size() * 8, tpl.order.size());
    for (size_t k = 0; k < bits; ++k)
        if ((codewords[k >> 3] >> (7 - (k & 7))) & 1) modules[tpl.order[k].index] = kDataDark;
}

void DrawFormatInformation(std::vector<uint8_t>& modules, int width, Level level, int mask) {
    const uint32_t bits = FormatInformation(level, mask);
    Canvas c{width, modules};
    auto bit = [bits](int i) { return uint8_t(kFormat | ((bits >> i) & 1)); };
    // Around the top-left finder.
    for (int i = 0; i <= 5; ++i)
        c.Set(i, 8, bit(i));
    c.Set(7, 8, bit(6));
    c.Set(8, 8, bit(7));
    c.Set(8, 7, bit(8));
    for (int i = 9; i < 15; ++i)
        c.Set(8, 14 - i, bit(i));
    // Split between the other two finders.
    for (int i = 0; i < 8; ++i)
        c.Set(8, width - 1 - i, bit(i));
    for (int i = 8; i < 15; ++i)
        c.Set(width - 15 + i, 8, bit(i));
}

}  // namespace tirrel::encoder
