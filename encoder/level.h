// Error-correction level of a symbol, and its conversion from the 0..3 that settings store.
#pragma once

#include <cstdint>
#include <optional>

namespace tirrel::encoder {

enum class Level : uint8_t { kL, kM, kQ, kH };

constexpr Level kLevels[] = {Level::kL, Level::kM, Level::kQ, Level::kH};

// 0..3 as L, M, Q, H; nothing for any other number.
[[nodiscard]] constexpr std::optional<Level> LevelFromIndex(int index) {
    if (index < 0 || index > 3) return std::nullopt;
    return static_cast<Level>(index);
}

// The level's row in the tables.
[[nodiscard]] constexpr int LevelIndex(Level level) {
    return static_cast<int>(level);
}

}  // namespace tirrel::encoder
