// The writers behind Render, one per family of formats. Each takes options Check accepted.
#pragma once

#include <cstdint>
#include <string>

#include "render/render.h"

namespace tirrel::render {

// The runs of dark modules in one row, as columns [start, end), left to right.
template <typename Run>
void ForEachDarkRunInRow(Modules m, int row, Run&& run) {
    for (int col = 0; col < m.width;) {
        if (!m.Dark(row, col)) {
            ++col;
            continue;
        }
        const int start = col;
        while (col < m.width && m.Dark(row, col))
            ++col;
        run(start, col);
    }
}

std::string BuildColouredBitmap(Modules m, const Options& o);
Result BuildPng(Modules m, const Options& o, std::string& out);
std::string BuildSvg(Modules m, const Options& o);
std::string BuildPdf(Modules m, const Options& o);
std::string BuildEps(Modules m, const Options& o);
std::string BuildHalfBlockText(Modules m, const Options& o);
std::string BuildAsciiText(Modules m, const Options& o);

}  // namespace tirrel::render
