#include "render/colour.h"

#include <algorithm>
#include <cmath>

namespace tirrel::render {
namespace {

// Below this WCAG contrast ratio phone readers start to miss modules.
constexpr double kMinContrastRatio = 3.0;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// WCAG relative luminance of an sRGB colour.
double Luminance(Rgba c) {
    auto linear = [](uint8_t v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

}  // namespace

std::optional<Rgba> ParseColour(std::string_view text) {
    if (!text.empty() && text[0] == '#') text.remove_prefix(1);
    if (text.size() != 6 && text.size() != 8) return std::nullopt;
    uint8_t channels[4] = {0, 0, 0, 255};
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        channels[i / 2] = uint8_t(hi * 16 + lo);
    }
    return Rgba{channels[0], channels[1], channels[2], channels[3]};
}

Rgba OverWhite(Rgba c) {
    auto blend = [&](uint8_t v) { return uint8_t((v * c.a + 255 * (255 - c.a) + 127) / 255); };
    return Rgba{blend(c.r), blend(c.g), blend(c.b), 255};
}

ContrastWarning CheckContrast(Rgba dark, Rgba light) {
    const double d = Luminance(OverWhite(dark)), l = Luminance(OverWhite(light));
    const double ratio = (std::max(d, l) + 0.05) / (std::min(d, l) + 0.05);
    if (ratio < kMinContrastRatio) return ContrastWarning::kLowContrast;
    if (d > l) return ContrastWarning::kInverted;
    return ContrastWarning::kNone;
}

}  // namespace tirrel::render
