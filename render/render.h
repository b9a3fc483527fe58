// A symbol as the files people use: raster (BMP, PNG), vector (SVG, PDF, EPS) and terminal
// text, from the module matrix, the module size, the quiet zone and two colours. Every format
// renders into memory, so a caller can write it, print it or hand it to a clipboard.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "encoder/encoder.h"
#include "render/colour.h"

namespace tirrel::render {

enum class Format { kBmp, kPng, kSvg, kPdf, kEps, kUtf8, kAscii };

// The name `--format` takes: "bmp", "png", "svg", "pdf", "eps", "utf8", "ascii".
std::string_view FormatName(Format format);
std::optional<Format> FormatByName(std::string_view name);
// By the file name's extension, in any case: .bmp .png .svg .pdf .eps, and .txt for the
// half-block text. Nothing for another extension or none.
std::optional<Format> FormatOfPath(std::string_view path);
// Terminal text: only the quiet zone applies, not the module size nor the colours.
bool IsText(Format format);
// Sized in millimetres rather than pixels.
bool IsPrint(Format format);

// A square matrix of modules, row-major from the top left; bit 0 of a byte is dark.
struct Modules {
    const uint8_t* data = nullptr;
    int width = 0;

    Modules(const uint8_t* modules, int n) : data(modules), width(n) {}
    Modules(const encoder::Symbol& s) : data(s.modules.data()), width(s.width) {}  // NOLINT
    bool Dark(int row, int col) const {
        return data[size_t(row) * size_t(width) + size_t(col)] & 1;
    }
};

struct Options {
    int moduleSize = 4;  // pixels per module: BMP, PNG, and the SVG's width and height
    int quietZone = 4;   // modules of light on every side
    Rgba dark = kBlack;
    Rgba light = kWhite;
    double sizeMm = 40;  // PDF and EPS: the side, quiet zone included
};

// The largest PDF page, 200 inches.
inline constexpr double kMaxSizeMm = 5080;

enum class Failure {
    kNone,
    kBadInput,      // no matrix, or a module size, quiet zone or print size that means nothing
    kTooLarge,      // beyond the limits of the format's size
    kEncodeFailed,  // the PNG library refused; `error` holds its code
    kWriteFailed,   // `error` holds errno
};

struct [[nodiscard]] Result {
    Failure failure = Failure::kNone;
    int error = 0;
    bool ok() const { return failure == Failure::kNone; }
};

// Whether a matrix of this width can be drawn so, before anything is allocated: kNone,
// kBadInput or kTooLarge.
Result Check(Format format, int width, const Options& options);

// The file's bytes. BMP in black on white is exactly BuildBitmapFile's; other colours are
// drawn over white, since a 24-bit bitmap has no transparency (so are EPS's).
Result Render(Format format, Modules modules, const Options& options, std::string& out);

// Renders and writes atomically; on a failure an existing file is left as it was.
Result RenderToFile(Format format, Modules modules, const Options& options,
                    const std::string& path);

// The symbol's side in modules, quiet zone included.
inline int64_t PaddedSide(int width, const Options& o) {
    return int64_t(width) + 2 * int64_t(o.quietZone);
}

// Each horizontal run of dark modules, in padded module coordinates (y down).
void ForEachDarkRun(Modules m, int quietZone,
                    const std::function<void(int64_t x, int64_t y, int64_t length)>& run);

// Where a printed symbol goes: each module a whole number of printer dots, so that no edge
// falls between dots, as near the asked side as that allows and centred in the printable
// area; shrunk to fit an area smaller than the side.
struct PrintLayout {
    int64_t moduleDots;  // the side of one module
    int64_t left, top;   // of the padded symbol, from the area's top left
};
// Nothing when not even one dot a module fits, or for a side, resolution or area that means
// nothing.
std::optional<PrintLayout> LayoutForPrint(int64_t paddedSide, double sideMm, double dotsPerMm,
                                          int64_t areaWidth, int64_t areaHeight);

// The cause of a kEncodeFailed or kWriteFailed, in English; empty for the others.
std::string FailureCause(const Result& result);

}  // namespace tirrel::render
