// tirrel-cli encode: one payload through EncodeSymbol, printed as a matrix or written as
// a bitmap.
#include <cstdio>
#include <string>

#include "app/bitmap_writer.h"
#include "app/encode_symbol.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "platform/atomic_file.h"
#include "platform/gbk.h"

namespace tirrel::cli {
namespace {

// The main window's own message for a refused payload.
constexpr const char* kVersionMessage = "版本号错误，请重新设置版本";

struct EncodeRequest {
    int version = 0;
    int ecc_setting = 0;
    enum class Source { kNone, kHex, kFile, kText } source = Source::kNone;
    std::string source_value;
    bool matrix = false;
    std::optional<std::string> output;
    std::optional<int> cell_pitch;
    std::optional<int> quiet_zone;
};

// Fills `r` from the arguments; returns kExitOk or the failure's exit code.
int ParseEncodeArgs(std::span<const std::string_view> args, EncodeRequest& r) {
    ArgCursor cursor(args);
    auto set_source = [&r](EncodeRequest::Source s, std::string_view value) {
        if (r.source != EncodeRequest::Source::kNone) return false;
        r.source = s;
        r.source_value = std::string(value);
        return true;
    };
    auto int_option = [&cursor](std::string_view name, int& out) {
        const std::optional<std::string_view> v = cursor.value();
        if (!v || !ParseInt(*v, out))
            return Fail(kExitUsage, std::string(name) + " needs a whole number");
        return kExitOk;
    };
    while (!cursor.done()) {
        const std::string_view arg = cursor.next();
        int number = 0;
        if (arg == "--version") {
            if (int rc = int_option(arg, r.version)) return rc;
        } else if (arg == "--level") {
            const std::optional<std::string_view> v = cursor.value();
            const std::optional<int> level = v ? ParseEccSetting(*v) : std::nullopt;
            if (!level) return Fail(kExitUsage, "--level takes L, M, Q, H or 0..4");
            r.ecc_setting = *level;
        } else if (arg == "--hex" || arg == "--file") {
            const std::optional<std::string_view> v = cursor.value();
            if (!v) return Fail(kExitUsage, std::string(arg) + " needs a value");
            const auto source =
                arg == "--hex" ? EncodeRequest::Source::kHex : EncodeRequest::Source::kFile;
            if (!set_source(source, *v)) return Fail(kExitUsage, "give exactly one payload");
        } else if (arg == "--matrix") {
            r.matrix = true;
        } else if (arg == "-o") {
            const std::optional<std::string_view> v = cursor.value();
            if (!v || v->empty()) return Fail(kExitUsage, "-o needs a file name");
            r.output = std::string(*v);
        } else if (arg == "--cell-pitch") {
            if (int rc = int_option(arg, number)) return rc;
            r.cell_pitch = number;
        } else if (arg == "--quiet-zone") {
            if (int rc = int_option(arg, number)) return rc;
            r.quiet_zone = number;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Fail(kExitUsage, "unknown option " + std::string(arg));
        } else if (!set_source(EncodeRequest::Source::kText, arg)) {
            return Fail(kExitUsage, "give exactly one payload");
        }
    }
    if (r.source == EncodeRequest::Source::kNone)
        return Fail(kExitUsage, "no payload: give --hex, --file or a text");
    if (r.matrix == r.output.has_value())
        return Fail(kExitUsage, "choose exactly one of --matrix and -o");
    if (!r.output && (r.cell_pitch || r.quiet_zone))
        return Fail(kExitUsage, "--cell-pitch and --quiet-zone go with -o");
    if (r.cell_pitch.value_or(4) < 1) return Fail(kExitUsage, "--cell-pitch must be at least 1");
    if (r.quiet_zone.value_or(4) < 0) return Fail(kExitUsage, "--quiet-zone must not be negative");
    return kExitOk;
}

// The payload bytes (GBK); returns kExitOk or the failure's exit code.
int LoadPayload(const EncodeRequest& r, std::string& payload) {
    switch (r.source) {
        case EncodeRequest::Source::kHex:
            if (!ParseHex(r.source_value, payload))
                return Fail(kExitUsage, "--hex needs pairs of hex digits");
            break;
        case EncodeRequest::Source::kFile:
            if (!ReadWholeFile(r.source_value, payload))
                return Fail(kExitUsage, "cannot read " + r.source_value);
            break;
        case EncodeRequest::Source::kText: {
            std::optional<std::string> gbk = Utf8ToGbk(r.source_value);
            if (!gbk) return Fail(kExitUsage, "the text holds a character GBK cannot represent");
            payload = std::move(*gbk);
            break;
        }
        case EncodeRequest::Source::kNone:
            return kExitUsage;
    }
    if (payload.find('\0') != std::string::npos)
        return Fail(kExitUsage, "the payload contains a zero byte");
    if (payload.empty()) return Fail(kExitRefused, "the payload is empty: nothing to encode");
    return kExitOk;
}

void PrintMatrix(const EncodedSymbol& s) {
    std::string out;
    out.reserve(size_t(s.width) * size_t(s.width + 1));
    for (int i = 0; i < s.width; ++i) {
        for (int j = 0; j < s.width; ++j)
            out += s.modules[size_t(i * s.width + j)] ? '1' : '0';
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int RunEncode(std::span<const std::string_view> args) {
    EncodeRequest request;
    if (int rc = ParseEncodeArgs(args, request)) return rc;
    std::string payload;
    if (int rc = LoadPayload(request, payload)) return rc;

    EncodedSymbolPtr symbol =
        EncodeSymbol(payload.c_str(), request.version, LevelFromEccSetting(request.ecc_setting));
    if (!symbol) {
        std::fprintf(stderr, "%s\n", kVersionMessage);
        return kExitRefused;
    }
    int rc = kExitOk;
    if (request.matrix) {
        PrintMatrix(*symbol);
    } else if (WriteBitmapFile(*request.output, symbol->modules.data(), symbol->width,
                               request.cell_pitch.value_or(4),
                               request.quiet_zone.value_or(4)) != 0) {
        rc = Fail(kExitRefused, "写入文件出错！ (" + *request.output + ")");
    }
    FreeSymbol(std::move(symbol));
    return rc;
}

}  // namespace tirrel::cli
