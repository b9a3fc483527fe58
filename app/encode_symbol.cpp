#include "app/encode_symbol.h"

namespace tirrel {

SymbolAttempt TryEncodeSymbol(std::string_view payload, int version, int level,
                              const SymbolChoices& choices) {
    SymbolAttempt attempt;
    if (version > 10) return attempt;
    const std::optional<encoder::Level> ecc = encoder::LevelFromIndex(level);
    if (!ecc) return attempt;
    encoder::EncodeResult result = encoder::EncodeWithFacts(
        payload, version, *ecc, choices.chineseMode ? encoder::kChineseHint : encoder::kByteHint,
        choices.smallestSplit ? encoder::Segmentation::kOptimal
                              : encoder::Segmentation::kGreedyFirst);
    if (!result.symbol) {
        attempt.facts = std::move(result.facts);
        return attempt;
    }
    auto symbol = std::make_unique<EncodedSymbol>();
    symbol->modules = std::move(result.symbol->modules);
    for (uint8_t& m : symbol->modules)
        m &= encoder::kDark;
    symbol->width = result.symbol->width;
    symbol->version = result.symbol->version;
    symbol->facts = std::move(result.facts);
    attempt.symbol = std::move(symbol);
    return attempt;
}

void FreeSymbol(EncodedSymbolPtr symbol) {
    symbol.reset();
}

int LevelFromEccSetting(int eccLevel) {
    return (eccLevel >= 1 && eccLevel <= 3) ? eccLevel : 0;
}

}  // namespace tirrel
