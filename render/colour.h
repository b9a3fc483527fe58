// The two colours a symbol is drawn in, as the user writes them, and whether a reader can
// still tell them apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tirrel::render {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba&) const = default;
};

inline constexpr Rgba kBlack{0, 0, 0, 255};
inline constexpr Rgba kWhite{255, 255, 255, 255};

// "RRGGBB" or "RRGGBBAA" in hex digits of either case, optionally after a '#'; nothing for
// anything else.
std::optional<Rgba> ParseColour(std::string_view text);

enum class ContrastWarning {
    kNone,
    kLowContrast,  // the colours are too close for a camera to separate reliably
    kInverted,     // dark is lighter than light: many readers do not try the inverse
};

// Both colours are judged as seen on white paper (a transparent colour shows what is under it).
ContrastWarning CheckContrast(Rgba dark, Rgba light);

// The colour as it shows over white.
Rgba OverWhite(Rgba c);

}  // namespace tirrel::render
