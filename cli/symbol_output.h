// What every command that makes a symbol shares: the version, level and output options,
// printing a matrix and writing the image in the format asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/encode_symbol.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "render/render.h"

namespace tirrel::cli {

struct SymbolOutputOptions {
    int version = 0;      // as the settings hold it: 0 = automatic
    int eccSetting = 0;   // an ECCLevel 0..4
    int chineseMode = 0;  // as the settings hold it: 0 the Chinese mode, 1 8-bit bytes
    bool matrix = false;
    std::optional<std::string> output;     // -o FILE
    std::optional<render::Format> format;  // --format; else from -o's extension once checked
    std::optional<int> cellPitch;
    std::optional<int> quietZone;
    std::optional<render::Rgba> dark, light;  // --fg, --bg
    std::optional<double> sizeMm;
};

// --version, --level and --chinese.
void AddSymbolOptions(CLI::App& app, SymbolOutputOptions& out);
// --format, --cell-pitch, --quiet-zone, --fg, --bg and --size-mm.
void AddImageOptions(CLI::App& app, SymbolOutputOptions& out);
// All of the above with --matrix and -o FILE ("-" for standard output).
void AddSymbolOutputOptions(CLI::App& app, SymbolOutputOptions& out);

// The combination rules, and the format settled from -o's extension when --format is not
// given; `outputRequired` demands exactly one of --matrix and an image. Warns on stderr when
// the colours are hard to scan. "-o -" needs --format, and a binary format only goes to a
// standard output that is not a terminal.
int CheckSymbolOutputOptions(SymbolOutputOptions& out, bool outputRequired);

// How --chinese says GB2312 characters travel.
[[nodiscard]] SymbolChoices ChoicesOf(const SymbolOutputOptions& out);

// What the options say about drawing: module size, quiet zone, colours, print size.
[[nodiscard]] render::Options RenderOptions(const SymbolOutputOptions& out);

// Refuses an image its options make too large: a usage error, since only the options can mend it.
int FailTooLarge(render::Format format);

// Whether the image goes to standard output ("-o -", or terminal text without -o).
[[nodiscard]] bool ImageToStdout(const SymbolOutputOptions& out);

// The image the options ask for, to -o or to stdout.
int WriteImage(render::Modules modules, const SymbolOutputOptions& out);

// --verbose: what went into the symbol, on stderr.
void AddVerboseFlag(CLI::App& app, bool& verbose);
void PrintReport(const std::vector<std::string>& lines);

// One line per row, top row first, '1' dark, '0' light.
void PrintMatrix(const uint8_t* modules, int width);

}  // namespace tirrel::cli
