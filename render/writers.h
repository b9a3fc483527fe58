// The writers behind Render, one per family of formats. Each takes options Check accepted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "render/render.h"

namespace tirrel::render {

// The symbol's side in modules, quiet zone included.
inline int64_t PaddedSide(int width, const Options& o) {
    return int64_t(width) + 2 * int64_t(o.quietZone);
}

// Each horizontal run of dark modules, in padded module coordinates (y down).
void ForEachDarkRun(Modules m, int quietZone,
                    const std::function<void(int64_t x, int64_t y, int64_t length)>& run);

std::string BuildColouredBitmap(Modules m, const Options& o);
Result BuildPng(Modules m, const Options& o, std::string& out);
std::string BuildSvg(Modules m, const Options& o);
std::string BuildPdf(Modules m, const Options& o);
std::string BuildEps(Modules m, const Options& o);
std::string BuildHalfBlockText(Modules m, const Options& o);
std::string BuildAsciiText(Modules m, const Options& o);

}  // namespace tirrel::render
