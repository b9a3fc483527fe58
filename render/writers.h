// The writers behind Render, one per family of formats. Each takes options Check accepted.
#pragma once

#include <cstdint>
#include <string>

#include "render/render.h"

namespace tirrel::render {

std::string BuildColouredBitmap(Modules m, const Options& o);
Result BuildPng(Modules m, const Options& o, std::string& out);
std::string BuildSvg(Modules m, const Options& o);
std::string BuildPdf(Modules m, const Options& o);
std::string BuildEps(Modules m, const Options& o);
std::string BuildHalfBlockText(Modules m, const Options& o);
std::string BuildAsciiText(Modules m, const Options& o);

}  // namespace tirrel::render
