// The QR Code encoder: payload bytes (GBK) -> module matrix.
//
//   encode()        segments the payload, settles the version, builds the data codewords
//                   and hands them to build_symbol();
//   build_symbol()  adds Reed-Solomon error correction, places everything in the matrix,
//                   picks the mask and writes format/version information.
//
// Versions: 0 = choose automatically (never above 10),
// 1..40 = use exactly this version or fail.
//
// Functions are PascalCase; encode and build_symbol keep the names they are known by.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "encoder/level.h"
#include "encoder/module.h"

namespace tirrel::encoder {

struct Symbol {
    int version = 0;
    int width = 0;                 // 17 + 4 * version
    std::vector<uint8_t> modules;  // width * width bytes, row-major from the top-left
};

// The hint the program always passes: enables the Chinese (GB2312) character mode.
constexpr int kChineseHint = 3;

// Returns nothing when the payload is empty, holds a zero byte, or does not fit under the
// version rule or at all. `hint` chooses the character modes and stays in the call as the
// program makes it; only kChineseHint is implemented, so its value is not read.
[[nodiscard]] std::optional<Symbol> encode(std::string_view payload, int version, Level level,
                                           int hint = kChineseHint);

// `data` holds exactly the data codewords of (version, level).
[[nodiscard]] Symbol build_symbol(const std::vector<uint8_t>& data, int version, Level level);

}  // namespace tirrel::encoder
