#include "cli/symbol_output.h"

#include <cstdio>

namespace tirrel::cli {

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
    if (arg == "--cell-pitch") return number(out.cellPitch);
    if (arg == "--quiet-zone") return number(out.quietZone);
    return kOptionNotMine;
}

int CheckSymbolOutputOptions(const SymbolOutputOptions& out, bool outputRequired) {
    if (outputRequired && out.matrix == out.output.has_value())
        return Fail(kExitUsage, "choose exactly one of --matrix and -o");
    if (!out.output && (out.cellPitch || out.quietZone))
        return Fail(kExitUsage, "--cell-pitch and --quiet-zone go with -o");
    if (out.cellPitch.value_or(4) < 1) return Fail(kExitUsage, "--cell-pitch must be at least 1");
    if (out.quietZone.value_or(4) < 0) return Fail(kExitUsage, "--quiet-zone must not be negative");
    return kExitOk;
}

int FailBitmapTooLarge() {
    return Fail(kExitUsage, "the bitmap would be too large: lower --cell-pitch or --quiet-zone");
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
