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
#include "encoder/segmenting.h"

namespace tirrel::encoder {

struct Symbol {
    int version = 0;
    int width = 0;                 // 17 + 4 * version
    std::vector<uint8_t> modules;  // width * width bytes, row-major from the top-left
    int mask = 0;
};

// The hint the program passes by default: enables the Chinese (GB2312) character mode.
constexpr int kChineseHint = 3;
// The whole payload in one 8-bit segment, for readers that know no other mode.
constexpr int kByteHint = 2;

// The greedy splitter alone. Returns nothing when the payload is empty, holds a zero byte,
// or does not fit under the version rule or at all. `hint` chooses the character modes:
// kByteHint takes one 8-bit segment, any other value the splitter with the Chinese mode.
[[nodiscard]] std::optional<Symbol> encode(std::string_view payload, int version, Level level,
                                           int hint = kChineseHint);

enum class Segmentation {
    kGreedyFirst,  // the greedy split; the smallest one only when the greedy one does not fit
    kOptimal,      // always the smallest split
};

struct SegmentFacts {
    Mode mode;
    int bytes;
};

// What went into a symbol. For a refused payload: its smallest split at the largest version
// the rule allows (no mask, no symbol); all zero when the request itself is invalid.
struct EncodeFacts {
    int version = 0;
    Level level = Level::kL;
    int mask = -1;
    std::vector<SegmentFacts> segments;
    long dataBits = 0;      // the segments' bits, before terminator and padding
    long capacityBits = 0;  // 8 x the data codewords of the version

    [[nodiscard]] bool Made() const { return mask >= 0; }
    // A refused payload's data codewords beyond the capacity.
    [[nodiscard]] long ExcessBytes() const { return (dataBits + 7) / 8 - capacityBits / 8; }
};

struct EncodeResult {
    std::optional<Symbol> symbol;
    EncodeFacts facts;
};

// encode() with the fallback to the smallest split, under the same version rule.
[[nodiscard]] EncodeResult EncodeWithFacts(std::string_view payload, int version, Level level,
                                           int hint, Segmentation segmentation);

// `data` holds exactly the data codewords of (version, level).
[[nodiscard]] Symbol build_symbol(const std::vector<uint8_t>& data, int version, Level level);

}  // namespace tirrel::encoder
