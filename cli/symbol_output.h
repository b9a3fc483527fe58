// What every command that makes a symbol shares: the version, level and output options, and
// printing a matrix.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/options.h"

namespace tirrel::cli {

struct SymbolOutputOptions {
    int version = 0;     // as the settings hold it: 0 = automatic
    int eccSetting = 0;  // an ECCLevel 0..4
    bool matrix = false;
    std::optional<std::string> output;  // -o OUT.bmp
    std::optional<int> cellPitch;
    std::optional<int> quietZone;
};

// TakeSymbolOutputOption's answers besides an exit code.
constexpr int kOptionTaken = -1;
constexpr int kOptionNotMine = -2;

// Consumes `arg` (and its value from the cursor) when it is one of --version, --level, --matrix,
// -o, --cell-pitch, --quiet-zone: kOptionTaken, or an exit code when its value is bad.
int TakeSymbolOutputOption(std::string_view arg, ArgCursor& cursor, SymbolOutputOptions& out);

// The combination rules; `outputRequired` demands exactly one of --matrix and -o.
int CheckSymbolOutputOptions(const SymbolOutputOptions& out, bool outputRequired);

// Refuses a bitmap its options make too large: a usage error, since only the options can mend it.
int FailBitmapTooLarge();

// One line per row, top row first, '1' dark, '0' light.
void PrintMatrix(const uint8_t* modules, int width);

}  // namespace tirrel::cli
