// Symbols as text and as images, for golden comparisons and for reading them back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encoder/encoder.h"

namespace tirrel::testing {

// One line per row, '#' dark and '.' light.
inline std::string AsciiMatrix(const encoder::Symbol& s) {
    std::string out;
    for (int i = 0; i < s.width; ++i) {
        for (int j = 0; j < s.width; ++j)
            out += (s.modules[size_t(i * s.width + j)] & 1) ? '#' : '.';
        out += '\n';
    }
    return out;
}

// An 8-bit grey image, `scale` pixels per module, four modules of quiet zone.
inline std::vector<uint8_t> GreyImage(const encoder::Symbol& s, int scale, int* side) {
    const int quiet = 4;
    *side = (s.width + 2 * quiet) * scale;
    std::vector<uint8_t> img(size_t(*side * *side), 0xFF);
    for (int i = 0; i < s.width; ++i)
        for (int j = 0; j < s.width; ++j)
            if (s.modules[size_t(i * s.width + j)] & 1)
                for (int a = 0; a < scale; ++a)
                    for (int b = 0; b < scale; ++b)
                        img[size_t(((quiet + i) * scale + a) * *side + (quiet + j) * scale + b)] =
                            0;
    return img;
}

}  // namespace tirrel::testing
