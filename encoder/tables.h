// Capacity and block structure of every version and level, and the count-indicator widths.
// Levels: 0 = L, 1 = M, 2 = Q, 3 = H. Versions 1..40.
#pragma once

namespace tirrel::encoder {

constexpr int kMinVersion = 1;
constexpr int kMaxVersion = 40;

constexpr int symbol_width(int version) {
    return 17 + 4 * version;
}

int total_codewords(int version);
int ecc_codewords_per_block(int version, int level);
int block_count(int version, int level);
int remainder_bits(int version);

// Total codewords minus the level's error-correction codewords.
int data_codewords(int version, int level);

// Smallest version whose data codewords at `level` hold `bytes`; -1 when none does.
int smallest_version_holding(int bytes, int level);

}  // namespace tirrel::encoder
