// tirrel-cli encode: one payload through EncodeSymbol, printed as a matrix or written as
// an image.
#include <cstdio>
#include <memory>
#include <string>

#include "app/encode_symbol.h"
#include "app/messages.h"
#include "app/symbol_report.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/streams.h"
#include "cli/symbol_output.h"
#include "platform/atomic_file.h"
#include "platform/gbk.h"

namespace tirrel::cli {
namespace {

struct EncodeRequest {
    SymbolOutputOptions out;
    bool smallestSplit = false;
    bool verbose = false;
    std::optional<std::string> hex, file, text;
};

void DefineEncodeOptions(CLI::App& app, EncodeRequest& r) {
    auto any = [](const std::string& v) { return std::optional<std::string>(v); };
    CLI::Option* hex = AddParsed(app, "--hex", r.hex, any, "hex digits",
                                 "the payload as pairs of hex digits; - reads them from stdin")
                           ->type_name("HEX")
                           ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    CLI::Option* file = AddParsed(app, "--file", r.file, any, "a file name",
                                  "the payload as the bytes of a file (at most 1 MiB); - is stdin")
                            ->type_name("PATH")
                            ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    CLI::Option* text = AddParsed(app, "TEXT", r.text, any, "a text",
                                  "the payload as UTF-8 text, converted to GBK; - or none reads "
                                  "it from stdin (without its last line break)")
                            ->type_name("")
                            ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    hex->excludes(file)->excludes(text);
    file->excludes(text);
    AddSymbolOutputOptions(app, r.out);
    auto segmentation = [](const std::string& v) -> std::optional<bool> {
        if (v == "greedy") return false;
        if (v == "optimal") return true;
        return std::nullopt;
    };
    AddParsed(app, "--segmentation", r.smallestSplit, segmentation, "greedy or optimal",
              "greedy (the default) switches modes as the window does and takes the smallest "
              "split only when its own does not fit; optimal always takes the smallest")
        ->type_name("greedy|optimal");
    AddVerboseFlag(app, r.verbose);
}

// The payload bytes (GBK); returns kExitOk or the failure's exit code.
int LoadPayload(const EncodeRequest& r, std::string& payload) {
    if (r.hex) {
        std::string digits = *r.hex;
        if (digits == kStandardStream) {
            if (int rc = ReadInputText(digits)) return rc;
        }
        if (!ParseHex(digits, payload)) return Fail(kExitUsage, "--hex needs pairs of hex digits");
    } else if (r.file) {
        if (int rc = ReadInput(*r.file, payload)) return rc;
    } else {
        std::string text = r.text.value_or(std::string(kStandardStream));
        if (text == kStandardStream) {
            if (int rc = ReadInputText(text)) return rc;
        }
        std::optional<std::string> gbk = Utf8ToGbk(text);
        if (!gbk) return Fail(kExitUsage, "the text holds a character GBK cannot represent");
        payload = std::move(*gbk);
    }
    if (payload.find('\0') != std::string::npos)
        return Fail(kExitUsage, "the payload contains a zero byte");
    if (payload.empty()) return Fail(kExitRefused, "the payload is empty: nothing to encode");
    return kExitOk;
}

int RunEncode(EncodeRequest& request) {
    if (int rc = CheckSymbolOutputOptions(request.out, /*outputRequired=*/true)) return rc;
    std::string payload;
    if (int rc = LoadPayload(request, payload)) return rc;

    SymbolChoices choices = ChoicesOf(request.out);
    choices.smallestSplit = request.smallestSplit;
    SymbolAttempt attempt = TryEncodeSymbol(payload, request.out.version,
                                            LevelFromEccSetting(request.out.eccSetting), choices);
    EncodedSymbolPtr symbol = std::move(attempt.symbol);
    if (request.verbose) PrintReport(EncodingReport(symbol ? symbol->facts : attempt.facts));
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

}  // namespace

Runner DefineEncode(CLI::App& command) {
    auto request = std::make_shared<EncodeRequest>();
    DefineEncodeOptions(command, *request);
    return [request] { return RunEncode(*request); };
}

}  // namespace tirrel::cli
