// Any payload at any requested version (-1..41) and level (-1..4): the encoder either refuses
// or makes a symbol of the asked-for shape that an independent decoder reads back to exactly
// the payload bytes.
#include <ZXing/ReadBarcode.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "encoder/encoder.h"
#include "tests/encoder/symbol_render.h"

namespace {

using tirrel::encoder::Symbol;

std::optional<std::string> Decode(const Symbol& s, int scale) {
    int side = 0;
    const std::vector<uint8_t> img = tirrel::testing::GreyImage(s, scale, &side);
    const ZXing::Result r =
        ZXing::ReadBarcode({img.data(), side, side, ZXing::ImageFormat::Lum},
                           ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
    if (!r.isValid()) return std::nullopt;
    return std::string(r.bytes().begin(), r.bytes().end());
}

// The decoder's detector misses some sound symbols at one scale and reads them at another.
bool ReadsBackAs(const Symbol& s, const std::string& payload) {
    for (int scale : {1, 3})
        if (Decode(s, scale) == payload) return true;
    return false;
}

bool ShapeIsSound(const Symbol& s, int requested) {
    if (s.version < 1 || s.version > 40 || s.width != 17 + 4 * s.version) return false;
    if (s.modules.size() != static_cast<size_t>(s.width) * static_cast<size_t>(s.width)) {
        return false;
    }
    // An automatic choice stays at 10 or below; a requested version is kept exactly.
    return requested == 0 ? s.version <= 10 : s.version == requested;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int version = data[0] % 43 - 1;
    const int level = data[1] % 6 - 1;
    // Payloads never hold a zero byte.
    std::string payload;
    for (size_t i = 2; i < size; ++i)
        if (data[i] != 0) payload += static_cast<char>(data[i]);

    const std::optional<tirrel::encoder::Level> ecc = tirrel::encoder::LevelFromIndex(level);
    if (!ecc) return 0;
    const std::optional<Symbol> symbol = tirrel::encoder::encode(payload, version, *ecc);
    if (!symbol) return 0;
    if (version < 0 || version > 40 || level < 0 || level > 3 || payload.empty()) std::abort();
    if (!ShapeIsSound(*symbol, version)) std::abort();
    if (!ReadsBackAs(*symbol, payload)) std::abort();
    return 0;
}
