#include "cli/symbol_output.h"

#include <cstdio>

#include "app/messages.h"

namespace tirrel::cli {
namespace {

constexpr std::string_view kFormatNames = "bmp, png, svg, pdf, eps, utf8 or ascii";

int TakeColour(std::string_view arg, ArgCursor& cursor, std::optional<render::Rgba>& into) {
    const std::optional<std::string_view> v = cursor.value();
    into = v ? render::ParseColour(*v) : std::nullopt;
    if (!into)
        return Fail(kExitUsage, std::string(arg) + " takes a colour as RRGGBB or RRGGBBAA in hex" +
                                    (v ? ", not '" + std::string(*v) + "'" : std::string()));
    return kOptionTaken;
}

// The format -o's extension or --format names, and what goes with it.
int SettleFormat(SymbolOutputOptions& out) {
    if (!out.format && out.output) {
        out.format = render::FormatOfPath(*out.output);
        if (!out.format)
            return Fail(kExitUsage, "cannot tell the format of " + *out.output +
                                        ": name it .bmp, .png, .svg, .pdf, .eps or .txt, or "
                                        "give --format");
    }
    if (out.format && !out.output && !render::IsText(*out.format))
        return Fail(kExitUsage,
                    "--format " + std::string(render::FormatName(*out.format)) + " needs -o FILE");
    return kExitOk;
}

int CheckFormatOptions(const SymbolOutputOptions& out) {
    const bool any = out.cellPitch || out.quietZone || out.dark || out.light || out.sizeMm;
    if (!out.format && any)
        return Fail(kExitUsage,
                    "--cell-pitch, --quiet-zone, --fg, --bg and --size-mm go with -o or --format");
    if (!out.format) return kExitOk;
    if (render::IsText(*out.format) && (out.cellPitch || out.dark || out.light || out.sizeMm))
        return Fail(kExitUsage, "terminal text takes only --quiet-zone");
    if (render::IsPrint(*out.format) && out.cellPitch)
        return Fail(kExitUsage, "PDF and EPS are sized by --size-mm, not --cell-pitch");
    if (!render::IsPrint(*out.format) && out.sizeMm)
        return Fail(kExitUsage, "--size-mm goes with PDF and EPS");
    return kExitOk;
}

void WarnOnContrast(const SymbolOutputOptions& out) {
    if (!out.dark && !out.light) return;
    switch (render::CheckContrast(out.dark.value_or(render::kBlack),
                                  out.light.value_or(render::kWhite))) {
        case render::ContrastWarning::kNone:
            return;
        case render::ContrastWarning::kLowContrast:
            std::fputs("tirrel-cli: warning: --fg and --bg are too alike for a reader to scan\n",
                       stderr);
            return;
        case render::ContrastWarning::kInverted:
            std::fputs(
                "tirrel-cli: warning: --fg is lighter than --bg; many readers will not "
                "scan the inverted symbol\n",
                stderr);
            return;
    }
}

render::Options RenderOptions(const SymbolOutputOptions& out) {
    render::Options o;
    o.moduleSize = out.cellPitch.value_or(o.moduleSize);
    o.quietZone = out.quietZone.value_or(o.quietZone);
    o.dark = out.dark.value_or(o.dark);
    o.light = out.light.value_or(o.light);
    o.sizeMm = out.sizeMm.value_or(o.sizeMm);
    return o;
}

}  // namespace

int TakeSymbolOutputOption(std::string_view arg, ArgCursor& cursor, SymbolOutputOptions& out) {
    auto number = [&](std::optional<int>& into) {
        const std::optional<std::string_view> v = cursor.value();
        int n = 0;
        if (!v || !ParseInt(*v, n))
            return Fail(kExitUsage, std::string(arg) + " needs a whole number");
        into = n;
        return kOptionTaken;
    };
    if (arg == "--version") {
        std::optional<int> v;
        int rc = number(v);
        if (v) out.version = *v;
        return rc;
    }
    if (arg == "--level") {
        const std::optional<std::string_view> v = cursor.value();
        const std::optional<int> level = v ? ParseEccSetting(*v) : std::nullopt;
        if (!level) return Fail(kExitUsage, "--level takes L, M, Q, H or 0..4");
        out.eccSetting = *level;
        return kOptionTaken;
    }
    if (arg == "--matrix") {
        out.matrix = true;
        return kOptionTaken;
    }
    if (arg == "-o") {
        const std::optional<std::string_view> v = cursor.value();
        if (!v || v->empty()) return Fail(kExitUsage, "-o needs a file name");
        out.output = std::string(*v);
        return kOptionTaken;
    }
    if (arg == "--format") {
        const std::optional<std::string_view> v = cursor.value();
        out.format = v ? render::FormatByName(*v) : std::nullopt;
        if (!out.format) return Fail(kExitUsage, "--format takes " + std::string(kFormatNames));
        return kOptionTaken;
    }
    if (arg == "--size-mm") {
        const std::optional<std::string_view> v = cursor.value();
        double mm = 0;
        if (!v || !ParseDecimal(*v, mm) || !(mm > 0 && mm <= render::kMaxSizeMm))
            return Fail(kExitUsage, "--size-mm takes millimetres, more than 0 and at most 5080");
        out.sizeMm = mm;
        return kOptionTaken;
    }
    if (arg == "--cell-pitch") return number(out.cellPitch);
    if (arg == "--quiet-zone") return number(out.quietZone);
    if (arg == "--fg") return TakeColour(arg, cursor, out.dark);
    if (arg == "--bg") return TakeColour(arg, cursor, out.light);
    return kOptionNotMine;
}

int CheckSymbolOutputOptions(SymbolOutputOptions& out, bool outputRequired) {
    if (int rc = SettleFormat(out)) return rc;
    if (outputRequired && out.matrix == out.format.has_value())
        return Fail(kExitUsage, "choose exactly one of --matrix and -o (or --format utf8|ascii)");
    if (int rc = CheckFormatOptions(out)) return rc;
    if (out.cellPitch.value_or(4) < 1) return Fail(kExitUsage, "--cell-pitch must be at least 1");
    if (out.quietZone.value_or(4) < 0) return Fail(kExitUsage, "--quiet-zone must not be negative");
    WarnOnContrast(out);
    return kExitOk;
}

int FailTooLarge(render::Format format) {
    if (render::IsText(format))
        return Fail(kExitUsage, "the text would be too large: lower --quiet-zone");
    if (render::IsPrint(format) || format == render::Format::kSvg)
        return Fail(kExitUsage, "the image would be too large: lower --quiet-zone");
    return Fail(kExitUsage, "the bitmap would be too large: lower --cell-pitch or --quiet-zone");
}

int WriteImage(render::Modules modules, const SymbolOutputOptions& out) {
    const render::Options options = RenderOptions(out);
    render::Result r;
    if (out.output) {
        r = render::RenderToFile(*out.format, modules, options, *out.output);
    } else {
        std::string text;
        r = render::Render(*out.format, modules, options, text);
        if (r.ok()) std::fwrite(text.data(), 1, text.size(), stdout);
    }
    switch (r.failure) {
        case render::Failure::kNone:
            return kExitOk;
        case render::Failure::kTooLarge:
            return FailTooLarge(*out.format);
        case render::Failure::kBadInput:
            return Fail(kExitUsage, "nothing sensible to draw with these options");
        case render::Failure::kEncodeFailed:
            return Fail(kExitRefused, "cannot encode the PNG: " + render::FailureCause(r));
        case render::Failure::kWriteFailed:
            break;
    }
    return Fail(kExitRefused, std::string(kMsgWriteError) + " (" + *out.output + ": " +
                                  render::FailureCause(r) + ")");
}

void PrintMatrix(const uint8_t* modules, int width) {
    std::string out;
    out.reserve(size_t(width) * size_t(width + 1));
    for (int i = 0; i < width; ++i) {
        for (int j = 0; j < width; ++j)
            out += modules[size_t(i) * width + j] ? '1' : '0';
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace tirrel::cli
