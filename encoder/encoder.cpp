#include "encoder/encoder.h"

#include <algorithm>

#include "encoder/bitstream.h"
#include "encoder/error_correction.h"
#include "encoder/masking.h"
#include "encoder/matrix.h"
#include "encoder/optimal_segmenting.h"
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

// A split that fits, at its settled version.
struct Fit {
    std::vector<Segment> segments;
    BitStream stream;
    int version = 0;
};

bool ValidRequest(std::string_view payload, int version) {
    // A payload never holds a zero byte; one that does is refused rather than cut.
    return version >= 0 && version <= kMaxVersion && !payload.empty() &&
           payload.find('\0') == std::string_view::npos;
}

std::optional<Fit> FitGreedy(std::string_view payload, int version, Level level) {
    Fit fit{SplitSegments(payload, version, true), {}, 0};
    const int start = ApplyVersionRule(EstimateVersion(fit.segments, level), version);
    if (start < 0) return std::nullopt;
    fit.version = SettleVersion(fit.segments, start, VersionLimit(version), level, fit.stream);
    if (fit.version < 0) return std::nullopt;
    return fit;
}

int LastOfWidthClass(int version) {
    return version <= 9 ? 9 : version <= 26 ? 26 : kMaxVersion;
}

// The smallest split for the count widths of `version`: with the Chinese mode or without it,
// or the whole payload as one 8-bit segment for readers that know no other mode.
std::vector<Segment> SmallestSplit(std::string_view payload, int version, int hint) {
    if (hint == kByteHint) return {Segment{Mode::kByte, std::string(payload)}};
    return OptimalSegments(payload, version, true);
}

// The smallest split is priced with one class of count widths, so each class up to the
// limit is tried in turn; a requested version has only its own.
std::optional<Fit> FitSmallest(std::string_view payload, int version, Level level, int hint) {
    static constexpr int kClassStarts[] = {1, 10, 27};
    const int limit = VersionLimit(version);
    for (int start : kClassStarts) {
        const int first = version == 0 ? start : version;
        if (first > limit) break;
        Fit fit{SmallestSplit(payload, first, hint), {}, 0};
        fit.stream = EncodeSegments(fit.segments, first);
        const int needed = SmallestVersionHolding(int((fit.stream.size() + 7) / 8), level);
        if (needed > 0 && needed <= std::min(limit, LastOfWidthClass(first))) {
            fit.version = std::max(needed, first);
            return fit;
        }
        if (version != 0) break;
    }
    return std::nullopt;
}

EncodeFacts FactsOf(const std::vector<Segment>& segments, size_t bits, int version, Level level) {
    EncodeFacts facts;
    facts.version = version;
    facts.level = level;
    for (const Segment& s : segments)
        facts.segments.push_back({s.mode, int(s.bytes.size())});
    facts.dataBits = long(bits);
    facts.capacityBits = 8L * DataCodewords(version, level);
    return facts;
}

Symbol SymbolOf(Fit fit, Level level) {
    const std::vector<uint8_t> data =
        FinishDataCodewords(std::move(fit.stream), DataCodewords(fit.version, level));
    return build_symbol(data, fit.version, level);
}

}  // namespace

std::optional<Symbol> encode(std::string_view payload, int version, Level level, int hint) {
    if (!ValidRequest(payload, version)) return std::nullopt;
    // 8-bit only has one split, which is its own smallest.
    std::optional<Fit> fit = hint == kByteHint ? FitSmallest(payload, version, level, hint)
                                               : FitGreedy(payload, version, level);
    if (!fit) return std::nullopt;
    return SymbolOf(std::move(*fit), level);
}

EncodeResult EncodeWithFacts(std::string_view payload, int version, Level level, int hint,
                             Segmentation segmentation) {
    EncodeResult result;
    if (!ValidRequest(payload, version)) return result;
    std::optional<Fit> fit;
    if (segmentation == Segmentation::kGreedyFirst && hint != kByteHint)
        fit = FitGreedy(payload, version, level);
    if (!fit) fit = FitSmallest(payload, version, level, hint);
    if (!fit) {
        const int limit = VersionLimit(version);
        const std::vector<Segment> smallest = SmallestSplit(payload, limit, hint);
        result.facts = FactsOf(smallest, EncodeSegments(smallest, limit).size(), limit, level);
        return result;
    }
    result.facts = FactsOf(fit->segments, fit->stream.size(), fit->version, level);
    result.symbol = SymbolOf(std::move(*fit), level);
    result.facts.mask = result.symbol->mask;
    return result;
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
    symbol.mask = mask;
    return symbol;
}

}  // namespace tirrel::encoder
