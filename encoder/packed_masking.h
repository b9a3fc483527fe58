// Bit-packed masking: the masks and scoring of masking.h on rows and columns held as bits,
// for symbols up to 64 modules wide. Totals and choices equal the module-by-module ones.
#pragma once

#include <cstdint>
#include <vector>

namespace tirrel::encoder {

constexpr int kPackedMaxWidth = 64;

// An unmasked symbol as bits: bit j of dark_rows[i] is module (i, j) dark, of free_rows[i]
// module (i, j) a data module; columns likewise.
struct PackedSymbol {
    int width = 0;
    uint64_t dark_rows[kPackedMaxWidth] = {}, dark_cols[kPackedMaxWidth] = {};
    uint64_t free_rows[kPackedMaxWidth] = {}, free_cols[kPackedMaxWidth] = {};
};

[[nodiscard]] int ChooseMaskPacked(const PackedSymbol& symbol);

// Applies `mask` to the module bytes of a packed-size symbol, a row of bits at a time.
void ApplyMaskPacked(std::vector<uint8_t>& modules, const PackedSymbol& symbol, int mask);

// Run-length score of a line of up to 64 modules packed into bits (bit j = module j).
[[nodiscard]] int PackedLinePenalty(uint64_t line, int width);

}  // namespace tirrel::encoder
