#include "render/render.h"

#include <spng.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "platform/atomic_file.h"
#include "render/bitmap_writer.h"
#include "render/writers.h"

namespace tirrel::render {
namespace {

enum class Kind { kRaster, kVector, kPrint, kText };

struct FormatDef {
    Format format;
    std::string_view name;
    std::string_view extension;  // empty: chosen only by name
    Kind kind;
};

constexpr FormatDef kFormats[] = {
    {Format::kBmp, "bmp", ".bmp", Kind::kRaster}, {Format::kPng, "png", ".png", Kind::kRaster},
    {Format::kSvg, "svg", ".svg", Kind::kVector}, {Format::kPdf, "pdf", ".pdf", Kind::kPrint},
    {Format::kEps, "eps", ".eps", Kind::kPrint},  {Format::kUtf8, "utf8", ".txt", Kind::kText},
    {Format::kAscii, "ascii", "", Kind::kText},
};

// Vector and text sides are bounded like the bitmap's, and text like its pixel bytes.
constexpr int64_t kMaxSideModules = 65535;
constexpr int64_t kMaxTextBytes = 256LL * 1024 * 1024;

const FormatDef& Def(Format format) {
    for (const FormatDef& d : kFormats)
        if (d.format == format) return d;
    return kFormats[0];
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char c = (a[i] >= 'A' && a[i] <= 'Z') ? char(a[i] - 'A' + 'a') : a[i];
        if (c != b[i]) return false;
    }
    return true;
}

int64_t TextBytes(Format format, int64_t side) {
    if (format == Format::kUtf8) return (side + 1) / 2 * (3 * side + 1);  // 3 bytes a block
    return side * (2 * side + 1);
}

Result Fails(Failure f, int error = 0) {
    return Result{f, error};
}

}  // namespace

std::string_view FormatName(Format format) {
    return Def(format).name;
}

std::optional<Format> FormatByName(std::string_view name) {
    for (const FormatDef& d : kFormats)
        if (SameLetters(name, d.name)) return d.format;
    return std::nullopt;
}

std::optional<Format> FormatOfPath(std::string_view path) {
    const size_t slash = path.rfind('/');
    const std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = base.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return std::nullopt;
    for (const FormatDef& d : kFormats)
        if (!d.extension.empty() && SameLetters(base.substr(dot), d.extension)) return d.format;
    return std::nullopt;
}

bool IsText(Format format) {
    return Def(format).kind == Kind::kText;
}

bool IsPrint(Format format) {
    return Def(format).kind == Kind::kPrint;
}

Result Check(Format format, int width, const Options& o) {
    if (width < 1 || o.moduleSize < 1 || o.quietZone < 0) return Fails(Failure::kBadInput);
    const Kind kind = Def(format).kind;
    if (kind == Kind::kPrint && !(o.sizeMm > 0 && o.sizeMm <= kMaxSizeMm))
        return Fails(Failure::kBadInput);
    if (kind == Kind::kRaster)
        return BitmapSizeAllowed(width, o.moduleSize, o.quietZone) ? Result{}
                                                                   : Fails(Failure::kTooLarge);
    const int64_t side = PaddedSide(width, o);
    if (side > kMaxSideModules) return Fails(Failure::kTooLarge);
    if (kind == Kind::kText && TextBytes(format, side) > kMaxTextBytes)
        return Fails(Failure::kTooLarge);
    return Result{};
}

Result Render(Format format, Modules m, const Options& o, std::string& out) {
    out.clear();
    if (m.data == nullptr) return Fails(Failure::kBadInput);
    if (Result r = Check(format, m.width, o); !r.ok()) return r;
    switch (format) {
        case Format::kBmp:
            out = BuildColouredBitmap(m, o);
            break;
        case Format::kPng:
            return BuildPng(m, o, out);
        case Format::kSvg:
            out = BuildSvg(m, o);
            break;
        case Format::kPdf:
            out = BuildPdf(m, o);
            break;
        case Format::kEps:
            out = BuildEps(m, o);
            break;
        case Format::kUtf8:
            out = BuildHalfBlockText(m, o);
            break;
        case Format::kAscii:
            out = BuildAsciiText(m, o);
            break;
    }
    return Result{};
}

Result RenderToFile(Format format, Modules m, const Options& o, const std::string& path) {
    std::string bytes;
    if (Result r = Render(format, m, o, bytes); !r.ok()) return r;
    if (WriteFileAtomically(path, bytes) != 0) return Fails(Failure::kWriteFailed, errno);
    return Result{};
}

std::optional<PrintLayout> LayoutForPrint(int64_t paddedSide, double sideMm, double dotsPerMm,
                                          int64_t areaWidth, int64_t areaHeight) {
    if (paddedSide <= 0 || !(sideMm > 0) || !(dotsPerMm > 0) || !(sideMm * dotsPerMm < 1e12))
        return std::nullopt;
    const int64_t fits = std::min(areaWidth, areaHeight) / paddedSide;
    const int64_t asked = std::llround(sideMm * dotsPerMm / double(paddedSide));
    const int64_t module = std::min(std::max<int64_t>(asked, 1), fits);
    if (module < 1) return std::nullopt;
    const int64_t side = module * paddedSide;
    return PrintLayout{module, (areaWidth - side) / 2, (areaHeight - side) / 2};
}

std::string FailureCause(const Result& r) {
    switch (r.failure) {
        case Failure::kEncodeFailed:
            return spng_strerror(r.error);
        case Failure::kWriteFailed:
            return std::strerror(r.error);
        default:
            return {};
    }
}

}  // namespace tirrel::render
