// The main window's glue to the encoder: one call from a payload to a matrix of 0/1 bytes,
// and the level mapping that generation applies to ECCLevel.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace tirrel {

struct EncodedSymbol {
    std::vector<uint8_t> modules;  // width * width bytes, 1 = dark, 0 = light
    int width = 0;
    int version = 0;  // the version the encoder chose
};

using EncodedSymbolPtr = std::unique_ptr<EncodedSymbol>;

// Returns nothing when version > 10 (negative and zero pass this test) or the encoder
// refuses the payload: empty, holding a zero byte (a payload never has one, so it is
// refused rather than cut), or too long for the version.
[[nodiscard]] EncodedSymbolPtr EncodeSymbol(std::string_view payload, int version, int level);

// Releases a symbol; accepts an empty pointer.
void FreeSymbol(EncodedSymbolPtr symbol);

// ECCLevel 1, 2, 3 -> M, Q, H; every other value (0, the empty fifth entry 4, junk) -> L.
[[nodiscard]] int LevelFromEccSetting(int eccLevel);

}  // namespace tirrel
