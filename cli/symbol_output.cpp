#include "cli/symbol_output.h"

#include <cstdio>

#include "app/messages.h"
#include "cli/streams.h"

namespace tirrel::cli {
namespace {

constexpr std::string_view kFormatNames = "bmp, png, svg, pdf, eps, utf8 or ascii";

// The format -o's extension or --format names, and what goes with it.
int SettleFormat(SymbolOutputOptions& out) {
    if (!out.format && out.output == kStandardStream)
        return Fail(kExitUsage, "-o - needs --format to say what to write");
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

bool IsBinary(render::Format format) {
    return format == render::Format::kBmp || format == render::Format::kPng ||
           format == render::Format::kPdf;
}

}  // namespace

render::Options RenderOptions(const SymbolOutputOptions& out) {
    render::Options o;
    o.moduleSize = out.cellPitch.value_or(o.moduleSize);
    o.quietZone = out.quietZone.value_or(o.quietZone);
    o.dark = out.dark.value_or(o.dark);
    o.light = out.light.value_or(o.light);
    o.sizeMm = out.sizeMm.value_or(o.sizeMm);
    return o;
}

void AddSymbolOptions(CLI::App& app, SymbolOutputOptions& out) {
    AddParsed(app, "--version", out.version, WholeNumber, "a whole number",
              "symbol version: 0 picks the smallest that fits (at most 10), 1..10 that "
              "version exactly; a payload that does not fit is refused (exit 1)")
        ->type_name("N");
    AddParsed(app, "--level", out.eccSetting, ParseEccSetting, "L, M, Q, H or 0..4",
              "error correction: L, M, Q, H, or 0..4 as the settings store it (4 is L)")
        ->type_name("L");
    auto chinese = [](const std::string& v) -> std::optional<int> {
        if (v == "hanzi") return 0;
        if (v == "bytes") return 1;
        return std::nullopt;
    };
    AddParsed(app, "--chinese", out.chineseMode, chinese, "hanzi or bytes",
              "GB2312 characters in the Chinese mode (hanzi, the default) or as 8-bit bytes "
              "(bytes, for readers without that mode); the payload bytes are the same")
        ->type_name("hanzi|bytes");
}

void AddVerboseFlag(CLI::App& app, bool& verbose) {
    app.add_flag("--verbose", verbose,
                 "print on stderr the version, level, mask, segments (modes and lengths in "
                 "bytes) and the data bits used of the capacity");
}

void PrintReport(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        std::fprintf(stderr, "%s\n", line.c_str());
}

SymbolChoices ChoicesOf(const SymbolOutputOptions& out) {
    SymbolChoices choices;
    choices.chineseMode = out.chineseMode != 1;
    return choices;
}

void AddImageOptions(CLI::App& app, SymbolOutputOptions& out) {
    auto format = [](const std::string& v) { return render::FormatByName(v); };
    auto colour = [](const std::string& v) { return render::ParseColour(v); };
    auto mm = [](const std::string& v) -> std::optional<double> {
        double n = 0;
        if (!ParseDecimal(v, n) || !(n > 0 && n <= render::kMaxSizeMm)) return std::nullopt;
        return n;
    };
    AddParsed(app, "--format", out.format, format, std::string(kFormatNames),
              "image format, overriding -o's extension: bmp, png, svg, pdf, eps, utf8 (half "
              "blocks) or ascii")
        ->type_name("FORMAT");
    AddParsed(app, "--cell-pitch", out.cellPitch, WholeNumber, "a whole number",
              "pixels a module in BMP, PNG and SVG, at least 1 (default 4)")
        ->type_name("P");
    AddParsed(app, "--quiet-zone", out.quietZone, WholeNumber, "a whole number",
              "light modules on every side, 0 or more (default 4)")
        ->type_name("Q");
    AddParsed(app, "--fg", out.dark, colour, "a colour as RRGGBB or RRGGBBAA in hex",
              "dark modules' colour, RRGGBB or RRGGBBAA in hex, optionally after # (default "
              "000000)")
        ->type_name("COLOUR");
    AddParsed(app, "--bg", out.light, colour, "a colour as RRGGBB or RRGGBBAA in hex",
              "light modules' colour; alpha 00 leaves the background out (default ffffff)")
        ->type_name("COLOUR");
    AddParsed(app, "--size-mm", out.sizeMm, mm, "millimetres, more than 0 and at most 5080",
              "side of a PDF or EPS, quiet zone included, in millimetres (default 40)")
        ->type_name("MM");
}

void AddSymbolOutputOptions(CLI::App& app, SymbolOutputOptions& out) {
    AddSymbolOptions(app, out);
    app.add_flag("--matrix", out.matrix, "print the modules as rows of 0 and 1 on stdout");
    auto path = [](const std::string& v) -> std::optional<std::string> {
        if (v.empty()) return std::nullopt;
        return v;
    };
    AddParsed(app, "-o", out.output, path, "a file name",
              "write the image to FILE, its format by the extension (.bmp .png .svg .pdf "
              ".eps .txt); - is standard output, with --format")
        ->type_name("FILE");
    AddImageOptions(app, out);
}

bool ImageToStdout(const SymbolOutputOptions& out) {
    return out.format && (!out.output || *out.output == kStandardStream);
}

int CheckSymbolOutputOptions(SymbolOutputOptions& out, bool outputRequired) {
    if (int rc = SettleFormat(out)) return rc;
    if (outputRequired && out.matrix == out.format.has_value())
        return Fail(kExitUsage, "choose exactly one of --matrix and -o (or --format utf8|ascii)");
    if (int rc = CheckFormatOptions(out)) return rc;
    if (out.output == kStandardStream && out.matrix)
        return Fail(kExitUsage, "--matrix and -o - cannot share standard output");
    if (out.output == kStandardStream && IsBinary(*out.format) && StdoutIsTerminal())
        return Fail(kExitUsage, "will not write " + std::string(render::FormatName(*out.format)) +
                                    " to a terminal: redirect or pipe standard output, or use "
                                    "--format utf8");
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
    if (!ImageToStdout(out)) {
        r = render::RenderToFile(*out.format, modules, options, *out.output);
    } else {
        std::string bytes;
        r = render::Render(*out.format, modules, options, bytes);
        if (r.ok() && !WriteStdout(bytes))
            return Fail(kExitRefused, std::string(kMsgWriteError) + " (standard output)");
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
