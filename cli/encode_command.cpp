// tirrel-cli encode: one payload through EncodeSymbol, printed as a matrix or written as
// an image.
#include <cstdio>
#include <string>

#include "app/encode_symbol.h"
#include "app/messages.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/symbol_output.h"
#include "platform/atomic_file.h"
#include "platform/gbk.h"

namespace tirrel::cli {
namespace {

struct EncodeRequest {
    SymbolOutputOptions out;
    enum class Source { kNone, kHex, kFile, kText } source = Source::kNone;
    std::string source_value;
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
    while (!cursor.done()) {
        const std::string_view arg = cursor.next();
        const int taken = TakeSymbolOutputOption(arg, cursor, r.out);
        if (taken == kOptionTaken) continue;
        if (taken != kOptionNotMine) return taken;
        if (arg == "--hex" || arg == "--file") {
            const std::optional<std::string_view> v = cursor.value();
            if (!v) return Fail(kExitUsage, std::string(arg) + " needs a value");
            const auto source =
                arg == "--hex" ? EncodeRequest::Source::kHex : EncodeRequest::Source::kFile;
            if (!set_source(source, *v)) return Fail(kExitUsage, "give exactly one payload");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Fail(kExitUsage, "unknown option " + std::string(arg));
        } else if (!set_source(EncodeRequest::Source::kText, arg)) {
            return Fail(kExitUsage, "give exactly one payload");
        }
    }
    if (r.source == EncodeRequest::Source::kNone)
        return Fail(kExitUsage, "no payload: give --hex, --file or a text");
    return CheckSymbolOutputOptions(r.out, /*outputRequired=*/true);
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

}  // namespace

int RunEncode(std::span<const std::string_view> args) {
    EncodeRequest request;
    if (int rc = ParseEncodeArgs(args, request)) return rc;
    std::string payload;
    if (int rc = LoadPayload(request, payload)) return rc;

    EncodedSymbolPtr symbol =
        EncodeSymbol(payload, request.out.version, LevelFromEccSetting(request.out.eccSetting));
    if (!symbol) {
        std::fprintf(stderr, "%s\n", std::string(kMsgVersionError).c_str());
        return kExitRefused;
    }
    int rc = kExitOk;
    if (request.out.matrix)
        PrintMatrix(symbol->modules.data(), symbol->width);
    else
        rc = WriteImage(render::Modules(symbol->modules.data(), symbol->width), request.out);
    FreeSymbol(std::move(symbol));
    return rc;
}

}  // namespace tirrel::cli
