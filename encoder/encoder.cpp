#include "encoder/encoder.h"

#include <algorithm>

#include "encoder/bitstream.h"
#include "encoder/error_correction.h"
#include "encoder/masking.h"
#include "encoder/matrix.h"
#include "encoder/packed_masking.h"
#include "encoder/segmenting.h"
#include "encoder/tables.h"

namespace tirrel::encoder {
namespace {

// The version the estimate allows under this program's rule, or -1: an automatic version
// never goes above 10, a requested one is never enlarged, and data that no version holds
// is refused whatever was asked.
int ApplyVersionRule(int estimate, int requested) {
    if (estimate < 0) return -1;
    if (requested == 0) return estimate <= 10 ? estimate : -1;
    return estimate <= requested ? requested : -1;
}

// The largest version the rule lets the exact pass reach.
int VersionLimit(int requested) {
    return requested == 0 ? 10 : requested;
}

// Grows the version until the exactly encoded segments fit; -1 when nothing up to `limit`
// holds them (the estimate can under-count, so the exact bits may need more than it said).
// `stream` receives the segments' bits at the settled version.
int SettleVersion(const std::vector<Segment>& segments, int version, int limit, Level level,
                  BitStream& stream) {
    for (;;) {
        stream = EncodeSegments(segments, version);
        const int needed = SmallestVersionHolding(int((stream.size() + 7) / 8), level);
        if (needed < 0 || needed > limit) return -1;
        if (version >= needed) return version;
        version = needed;
    }
}

// Masks a symbol of up to 64 modules per side on bits, straight from the placement.
int MaskPacked(const FunctionTemplate& tpl, const std::vector<uint8_t>& codewords,
               std::vector<uint8_t>& modules) {
    PackedSymbol p;
    p.width = tpl.width;
    for (int i = 0; i < tpl.width; ++i) {
        p.dark_rows[i] = tpl.dark_rows[size_t(i)];
        p.dark_cols[i] = tpl.dark_cols[size_t(i)];
        p.free_rows[i] = tpl.free_rows[size_t(i)];
        p.free_cols[i] = tpl.free_cols[size_t(i)];
    }
    // Branch-free: data bits are as good as random, so a test per bit would mispredict.
    const size_t bits = std::min(codewords.size() * 8, tpl.order.size());
    for (size_t k = 0; k < bits; ++k) {
        const uint64_t bit = (codewords[k >> 3] >> (7 - (k & 7))) & 1;
        const ModulePos& pos = tpl.order[k];
        modules[pos.index] = uint8_t(kDataLight | bit);
        p.dark_rows[pos.row] |= bit << pos.column;
        p.dark_cols[pos.column] |= bit << pos.row;
    }
    const int mask = ChooseMaskPacked(p);
    ApplyMaskPacked(modules, p, mask);
    return mask;
}

}  // namespace

std::optional<Symbol> encode(std::string_view payload, int version, Level level,
                             [[maybe_unused]] int hint) {
    if (version > kMaxVersion) return std::nullopt;
    // A payload never holds a zero byte; one that does is refused rather than cut.
    if (payload.empty() || version < 0 || payload.find('\0') != std::string_view::npos)
        return std::nullopt;

    const std::vector<Segment> segments = SplitSegments(payload, version);
    const int start = ApplyVersionRule(EstimateVersion(segments, level), version);
    if (start < 0) return std::nullopt;
    BitStream stream;
    const int final_version = SettleVersion(segments, start, VersionLimit(version), level, stream);
    if (final_version < 0) return std::nullopt;

    const std::vector<uint8_t> data =
        FinishDataCodewords(std::move(stream), DataCodewords(final_version, level));
    return build_symbol(data, final_version, level);
}

Symbol build_symbol(const std::vector<uint8_t>& data, int version, Level level) {
    const FunctionTemplate& tpl = TemplateOf(version);
    Symbol symbol;
    symbol.version = version;
    symbol.width = tpl.width;
    symbol.modules = tpl.modules;
    const std::vector<uint8_t> codewords = AddErrorCorrection(data, version, level);
    int mask = 0;
    if (!tpl.dark_rows.empty()) {
        mask = MaskPacked(tpl, codewords, symbol.modules);
    } else {
        PlaceCodewords(tpl, codewords, symbol.modules);
        mask = ChooseMask(symbol.modules, symbol.width);
        ApplyMask(symbol.modules, symbol.width, mask);
    }
    DrawFormatInformation(symbol.modules, symbol.width, level, mask);
    return symbol;
}

}  // namespace tirrel::encoder
