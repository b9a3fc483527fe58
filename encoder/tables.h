// Capacity and block structure of every version and level, and the count-indicator widths.
// Versions 1..40.
#pragma once

#include "encoder/level.h"

namespace tirrel::encoder {

constexpr int kMinVersion = 1;
constexpr int kMaxVersion = 40;

[[nodiscard]] constexpr int SymbolWidth(int version) {
    return 17 + 4 * version;
}

[[nodiscard]] int TotalCodewords(int version);
[[nodiscard]] int EccCodewordsPerBlock(int version, Level level);
[[nodiscard]] int BlockCount(int version, Level level);
[[nodiscard]] int RemainderBits(int version);

// Total codewords minus the level's error-correction codewords.
[[nodiscard]] int DataCodewords(int version, Level level);

// Smallest version whose data codewords at `level` hold `bytes`; -1 when none does.
[[nodiscard]] int SmallestVersionHolding(int bytes, Level level);

}  // namespace tirrel::encoder
