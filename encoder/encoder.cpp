#include "encoder/encoder.h"

#include "encoder/bitstream.h"
#include "encoder/error_correction.h"
#include "encoder/masking.h"
#include "encoder/matrix.h"
#include "encoder/segmenting.h"
#include "encoder/tables.h"

namespace tirrel::encoder {
namespace {

// The version the estimate allows under this program's rule, or -1: an automatic version
// never goes above 10, a requested one is never enlarged, and data that no version holds
// is refused whatever was asked.
int apply_version_rule(int estimate, int requested) {
    if (estimate < 0) return -1;
    if (requested == 0) return estimate <= 10 ? estimate : -1;
    return estimate <= requested ? requested : -1;
}

// Grows the version until the exactly encoded segments fit; -1 when nothing holds them.
int settle_version(const std::vector<Segment>& segments, int version, int level) {
    for (;;) {
        const size_t bits = encode_segments(segments, version).size();
        const int needed = smallest_version_holding(int((bits + 7) / 8), level);
        if (needed < 0) return -1;
        if (version >= needed) return version;
        version = needed;
    }
}

}  // namespace

std::optional<Symbol> encode(std::string_view payload, int version, int level, int hint) {
    (void)hint;  // the program always asks for the Chinese character mode
    if (level < 0 || level > 3 || version > kMaxVersion) return std::nullopt;
    payload = payload.substr(0, payload.find('\0'));
    if (payload.empty() || version < 0) return std::nullopt;

    const std::vector<Segment> segments = split_segments(payload, version);
    const int start = apply_version_rule(estimate_version(segments, level), version);
    if (start < 0) return std::nullopt;
    const int final_version = settle_version(segments, start, level);
    if (final_version < 0) return std::nullopt;

    std::vector<uint8_t> data = finish_data_codewords(encode_segments(segments, final_version),
                                                      data_codewords(final_version, level));
    return build_symbol(data, final_version, level);
}

Symbol build_symbol(const std::vector<uint8_t>& data, int version, int level) {
    const FunctionTemplate& tpl = function_template(version);
    Symbol symbol;
    symbol.version = version;
    symbol.width = tpl.width;
    symbol.modules = tpl.modules;
    place_codewords(tpl, add_error_correction(data, version, level), symbol.modules);
    const int mask = choose_mask(symbol.modules, symbol.width);
    apply_mask(symbol.modules, symbol.width, mask);
    draw_format_information(symbol.modules, symbol.width, level, mask);
    return symbol;
}

}  // namespace tirrel::encoder
