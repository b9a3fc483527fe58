// The byte of one module while a symbol is built: bit 0 is its colour (1 = dark), bit 7 marks
// a function module and bits 1..6 tell the patterns apart. Callers keep only bit 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tirrel::encoder {

enum ModuleFlag : uint8_t {
    kDark = 0x01,
    kFunction = 0x80,
    // The values a symbol is built from, before any colour bit is added.
    kDataLight = 0x02,
    kDataDark = kDataLight | kDark,
    kFinder = kFunction | 0x40,  // finder patterns and separators
    kTiming = kFunction | 0x10,
    kAlignment = kFunction | 0x20,
    kFormat = kFunction | 0x04,
    kVersionInfo = kFunction | 0x08,
    kDarkModule = kFunction | kDark,
};

[[nodiscard]] constexpr bool IsDark(uint8_t module) {
    return (module & kDark) != 0;
}

[[nodiscard]] constexpr bool IsFunction(uint8_t module) {
    return (module & kFunction) != 0;
}

// Where the module at (row, col) sits in a symbol stored row by row.
[[nodiscard]] constexpr std::size_t ModuleIndex(int row, int col, int width) {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(col);
}

}  // namespace tirrel::encoder
