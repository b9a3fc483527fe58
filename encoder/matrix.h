// Matrix: the function patterns of a version (built once per version and copied for each
// symbol), the zig-zag placement of codeword bits, and format/version information.
#pragma once

#include <cstdint>
#include <vector>

#include "encoder/level.h"
#include "encoder/module.h"

namespace tirrel::encoder {

struct ModulePos {
    uint16_t index;  // row * width + column
    uint8_t row;
    uint8_t column;
};

struct FunctionTemplate {
    int version = 0;
    int width = 0;
    std::vector<uint8_t> modules;  // function patterns; data modules preset kDataLight
    std::vector<ModulePos> order;  // data modules in placement order
    // Bit-packed copies for symbols up to 64 modules wide (empty otherwise): bit j of
    // dark_rows[i] / free_rows[i] = module (i, j) is dark / is a data module; the column
    // arrays hold the same by column.
    std::vector<uint64_t> dark_rows, dark_cols, free_rows, free_cols;
};

// The template of `version` (1..40), built at first use.
[[nodiscard]] const FunctionTemplate& TemplateOf(int version);

// Centres of the alignment patterns along one axis; empty for version 1.
[[nodiscard]] std::vector<int> AlignmentPositions(int version);

// 18-bit version information (6 version bits and the BCH code) for versions 7..40.
[[nodiscard]] uint32_t VersionInformation(int version);

// 15-bit format information for (level, mask), after the XOR with the format mask.
[[nodiscard]] uint32_t FormatInformation(Level level, int mask);

// Writes the codeword bits, most significant first, into the template's data modules;
// modules left over (remainder bits) stay light.
void PlaceCodewords(const FunctionTemplate& tpl, const std::vector<uint8_t>& codewords,
                    std::vector<uint8_t>& modules);

// Writes both copies of the format information as kFormat | bit.
void DrawFormatInformation(std::vector<uint8_t>& modules, int width, Level level, int mask);

}  // namespace tirrel::encoder
