// What every command that makes a symbol shares: the version, level and output options,
// printing a matrix and writing the image in the format asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/options.h"
#include "render/render.h"

namespace tirrel::cli {

struct SymbolOutputOptions {
    int version = 0;     // as the settings hold it: 0 = automatic
    int eccSetting = 0;  // an ECCLevel 0..4
    bool matrix = false;
    std::optional<std::string> output;     // -o FILE
    std::optional<render::Format> format;  // --format; else from -o's extension once checked
    std::optional<int> cellPitch;
    std::optional<int> quietZone;
    std::optional<render::Rgba> dark, light;  // --fg, --bg
    std::optional<double> sizeMm;
};

// TakeSymbolOutputOption's answers besides an exit code.
constexpr int kOptionTaken = -1;
constexpr int kOptionNotMine = -2;

// Consumes `arg` (and its value from the cursor) when it is one of --version, --level, --matrix,
// -o, --format, --cell-pitch, --quiet-zone, --fg, --bg, --size-mm: kOptionTaken, or an exit
// code when its value is bad.
int TakeSymbolOutputOption(std::string_view arg, ArgCursor& cursor, SymbolOutputOptions& out);

// The combination rules, and the format settled from -o's extension when --format is not
// given; `outputRequired` demands exactly one of --matrix and an image. Warns on stderr when
// the colours are hard to scan.
int CheckSymbolOutputOptions(SymbolOutputOptions& out, bool outputRequired);

// Refuses an image its options make too large: a usage error, since only the options can mend it.
int FailTooLarge(render::Format format);

// The image the options ask for, to -o or, for terminal text without -o, to stdout.
int WriteImage(render::Modules modules, const SymbolOutputOptions& out);

// One line per row, top row first, '1' dark, '0' light.
void PrintMatrix(const uint8_t* modules, int width);

}  // namespace tirrel::cli
