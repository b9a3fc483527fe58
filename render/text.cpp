// Terminal text. The half blocks follow qrencode's UTF8 output: a block paints a *light*
// module in the terminal's foreground and a dark module is a blank, so on the usual light
// text on a dark background the symbol reads dark on light with a light quiet zone. On a dark
// on light terminal it comes out inverted, which current phone readers also accept.
#include <string>

#include "render/writers.h"

namespace tirrel::render {
namespace {

// Dark at (x, y) of the padded symbol; outside the matrix (the quiet zone and the half line
// below an odd last row) is light.
bool DarkAt(Modules m, const Options& o, int64_t y, int64_t x) {
    const int64_t row = y - o.quietZone, col = x - o.quietZone;
    return row >= 0 && row < m.width && col >= 0 && col < m.width && m.Dark(int(row), int(col));
}

}  // namespace

std::string BuildHalfBlockText(Modules m, const Options& o) {
    // Indexed by (upper light) * 2 + (lower light).
    static constexpr const char* kCells[] = {" ", "\u2584", "\u2580", "\u2588"};
    const int64_t side = PaddedSide(m.width, o);
    std::string out;
    for (int64_t y = 0; y < side; y += 2) {
        for (int64_t x = 0; x < side; ++x)
            out += kCells[!DarkAt(m, o, y, x) * 2 + !DarkAt(m, o, y + 1, x)];
        out += '\n';
    }
    return out;
}

std::string BuildAsciiText(Modules m, const Options& o) {
    const int64_t side = PaddedSide(m.width, o);
    std::string out;
    for (int64_t y = 0; y < side; ++y) {
        for (int64_t x = 0; x < side; ++x)
            out += DarkAt(m, o, y, x) ? "##" : "  ";
        out += '\n';
    }
    return out;
}

}  // namespace tirrel::render
