// The main window's glue to the encoder: one call from a payload to a matrix of 0/1 bytes,
// and the level mapping that generation applies to ECCLevel.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "encoder/encoder.h"

namespace tirrel {

struct EncodedSymbol {
    std::vector<uint8_t> modules;  // width * width bytes, 1 = dark, 0 = light
    int width = 0;
    int version = 0;  // the version the encoder chose
    encoder::EncodeFacts facts;
};

using EncodedSymbolPtr = std::unique_ptr<EncodedSymbol>;

// How the payload's characters are carried; the payload bytes are the same either way.
struct SymbolChoices {
    bool chineseMode = true;     // false: GB2312 characters as 8-bit bytes
    bool smallestSplit = false;  // the smallest split always, not only when the greedy one fails
};

struct SymbolAttempt {
    EncodedSymbolPtr symbol;  // nothing when refused
    // Refused: the smallest split at the largest version allowed (all zero for a request
    // refused before encoding).
    encoder::EncodeFacts facts;
};

// Refused when version > 10 (negative and zero pass this test) or the encoder refuses the
// payload: empty, holding a zero byte (a payload never has one, so it is refused rather than
// cut), or too long for the version even with its smallest split.
[[nodiscard]] SymbolAttempt TryEncodeSymbol(std::string_view payload, int version, int level,
                                            const SymbolChoices& choices = {});
[[nodiscard]] inline EncodedSymbolPtr EncodeSymbol(std::string_view payload, int version, int level,
                                                   const SymbolChoices& choices = {}) {
    return TryEncodeSymbol(payload, version, level, choices).symbol;
}

// Releases a symbol; accepts an empty pointer.
void FreeSymbol(EncodedSymbolPtr symbol);

// ECCLevel 1, 2, 3 -> M, Q, H; every other value (0, the empty fifth entry 4, junk) -> L.
[[nodiscard]] int LevelFromEccSetting(int eccLevel);

}  // namespace tirrel
