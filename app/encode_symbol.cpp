#include "app/encode_symbol.h"

#include "encoder/encoder.h"

namespace tirrel {

EncodedSymbolPtr EncodeSymbol(std::string_view payload, int version, int level) {
    if (version > 10) return nullptr;
    const std::optional<encoder::Level> ecc = encoder::LevelFromIndex(level);
    if (!ecc) return nullptr;
    auto symbol = encoder::encode(payload, version, *ecc, encoder::kChineseHint);
    if (!symbol) return nullptr;
    auto result = std::make_unique<EncodedSymbol>();
    result->modules = std::move(symbol->modules);
    for (uint8_t& m : result->modules)
        m &= encoder::kDark;
    result->width = symbol->width;
    result->version = symbol->version;
    return result;
}

void FreeSymbol(EncodedSymbolPtr symbol) {
    symbol.reset();
}

int LevelFromEccSetting(int eccLevel) {
    return (eccLevel >= 1 && eccLevel <= 3) ? eccLevel : 0;
}

}  // namespace tirrel
