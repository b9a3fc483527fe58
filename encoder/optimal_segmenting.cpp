#include "encoder/optimal_segmenting.h"

#include <array>
#include <cstdint>
#include <limits>

namespace tirrel::encoder {
namespace {

constexpr int kModes = 4;
constexpr int64_t kUnreachable = std::numeric_limits<int64_t>::max() / 2;

// Costs in sixths of a bit, so that a digit (10/3 bits) and a character pair (11/2 bits)
// are whole numbers; a segment's cost is rounded up to whole bits when it ends.
constexpr int kUnitCost[kModes] = {20, 33, 48, 78};

int64_t RoundUpToBit(int64_t sixths) {
    return (sixths + 5) / 6 * 6;
}

// Bytes the mode takes at p, 0 when it cannot carry the character there.
size_t UnitLength(Mode mode, std::string_view text, size_t p, bool chinese) {
    const auto c = static_cast<unsigned char>(text[p]);
    switch (mode) {
        case Mode::kNumeric:
            return c >= '0' && c <= '9' ? 1 : 0;
        case Mode::kAlphanumeric:
            return AlphanumericValue(c) >= 0 ? 1 : 0;
        case Mode::kByte:
            return 1;
        case Mode::kChinese:
            return chinese && p + 1 < text.size() && ModeAt(text, p) == Mode::kChinese ? 2 : 0;
    }
    return 0;
}

int HeaderSixths(Mode mode, int version) {
    return 6 * (4 + (mode == Mode::kChinese ? 4 : 0) + CountWidth(mode, version));
}

// Per position and mode: the cheapest prefix whose last segment, still open, has that mode,
// and whether that segment starts with the character ending there.
struct Cell {
    int64_t cost = kUnreachable;
    bool starts = false;
};

}  // namespace

std::vector<Segment> OptimalSegments(std::string_view payload, int version, bool chinese) {
    const size_t n = payload.size();
    std::vector<std::array<Cell, kModes>> open(n + 1);
    std::vector<int64_t> closed(n + 1, kUnreachable);  // every segment ended at the position
    std::vector<int> closedMode(n + 1, 0);
    closed[0] = 0;
    for (size_t i = 0; i <= n; ++i) {
        for (int m = 0; m < kModes && i > 0; ++m) {
            const int64_t c = RoundUpToBit(open[i][size_t(m)].cost);
            if (c < closed[i]) {
                closed[i] = c;
                closedMode[i] = m;
            }
        }
        if (i == n) break;
        for (int m = 0; m < kModes; ++m) {
            const Mode mode = static_cast<Mode>(m);
            const size_t len = UnitLength(mode, payload, i, chinese);
            if (len == 0) continue;
            const int64_t go_on = open[i][size_t(m)].cost + kUnitCost[m];
            const int64_t start = closed[i] + HeaderSixths(mode, version) + kUnitCost[m];
            Cell& next = open[i + len][size_t(m)];
            const Cell best = start <= go_on ? Cell{start, true} : Cell{go_on, false};
            if (best.cost < next.cost) next = best;
        }
    }

    std::vector<Segment> reversed;
    size_t end = n;
    int m = closedMode[n];
    for (size_t i = n; i > 0;) {
        const Cell& cell = open[i][size_t(m)];
        i -= m == static_cast<int>(Mode::kChinese) ? 2 : 1;
        if (!cell.starts) continue;
        reversed.push_back(Segment{static_cast<Mode>(m), std::string(payload.substr(i, end - i))});
        end = i;
        m = closedMode[i];
    }
    return {reversed.rbegin(), reversed.rend()};
}

}  // namespace tirrel::encoder
