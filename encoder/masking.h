// Masking: the eight data masks and this encoder's own scoring of a masked symbol.
//
// A mask's total is the dark-module penalty plus, for every row and every column, the
// run-length score, plus 3 for every 2 x 2 block of one colour (rows pass only). The lowest
// total wins, ties keep the lower mask, and a mask whose dark penalty alone exceeds the best
// total so far is not scored further. Scored here module by module; packed_masking.h computes
// the same totals on bit-packed rows and columns for symbols up to 64 modules wide.
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

namespace tirrel::encoder {

[[nodiscard]] bool MaskApplies(int mask, int row, int column);

// Inverts bit 0 of every non-function module where the mask's condition holds.
void ApplyMask(std::vector<uint8_t>& modules, int width, int mask);

// The dark-module penalty, with truncating division.
[[nodiscard]] int DarkPenalty(int dark, int width);

// Run-length score of one line given as its run list (a line that starts dark begins with
// the marker -1, so dark runs sit at odd indices).
[[nodiscard]] int RunListPenalty(const std::vector<int>& runs);

// Run-length score of `n` modules (bit 0 = dark) starting at `first`, `step` bytes apart.
[[nodiscard]] int LinePenalty(const uint8_t* first, int step, int n);

// Full total of a matrix, module by module.
[[nodiscard]] int TotalPenalty(const std::vector<uint8_t>& modules, int width);

// Picks among `count` candidates. `dark(m)` returns candidate m's dark penalty, `lines(m)`
// the rest of its total; `lines` is called only for candidates that are scored in full, and
// those are recorded in `scored` when given.
template <class DarkFn, class LinesFn>
[[nodiscard]] int SelectMask(int count, DarkFn dark, LinesFn lines,
                             std::vector<int>* scored = nullptr) {
    int best = 0;
    int best_total = INT_MAX;
    for (int m = 0; m < count; ++m) {
        const int p4 = dark(m);
        if (p4 > best_total) continue;
        if (scored) scored->push_back(m);
        const int total = p4 + lines(m);
        if (total < best_total) {
            best = m;
            best_total = total;
        }
    }
    return best;
}

// The best of the eight masks for an unmasked symbol (function modules flagged, format
// areas still light), scored module by module.
[[nodiscard]] int ChooseMask(const std::vector<uint8_t>& modules, int width);

}  // namespace tirrel::encoder
