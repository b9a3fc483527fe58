// Error correction: Reed-Solomon over GF(256) with the field polynomial 0x11D, the block
// split of a version/level and the interleaving of data and error-correction codewords.
#pragma once

#include <cstdint>
#include <vector>

#include "encoder/level.h"

namespace tirrel::encoder {

[[nodiscard]] uint8_t GfMultiply(uint8_t a, uint8_t b);

// The `degree` error-correction codewords of `data` (generator roots alpha^0..alpha^(degree-1)).
// Degrees 1..30.
[[nodiscard]] std::vector<uint8_t> ReedSolomonRemainder(const uint8_t* data, int length,
                                                        int degree);

// Data codewords of each block of (version, level), in order: short blocks first.
[[nodiscard]] std::vector<int> BlockDataLengths(int version, Level level);

// All codewords of the symbol: the data and error-correction codewords, each interleaved
// column by column across the blocks.
[[nodiscard]] std::vector<uint8_t> AddErrorCorrection(const std::vector<uint8_t>& data, int version,
                                                      Level level);

}  // namespace tirrel::encoder
