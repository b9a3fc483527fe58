// tirrel-cli make and load: a headless main window as after start-up, driven as a user would
// drive it (choose a dialect, click a tab, type into fields; or load an information file),
// then its payload, symbol, image or information file written out.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/messages.h"
#include "cli/commands.h"
#include "cli/headless_ui.h"
#include "cli/options.h"
#include "cli/page_options.h"
#include "cli/streams.h"
#include "cli/symbol_output.h"
#include "platform/gbk.h"
#include "render/bitmap_writer.h"

namespace tirrel::cli {
namespace {

struct WindowRequest {
    SymbolOutputOptions out;
    bool payloadHex = false;
    bool verbose = false;
    std::optional<std::string> saveSig;
    // make
    int dialect = 0;
    int tab = 0;
    std::vector<std::string> fields;  // KEY=VALUE, in order
    // load
    std::string file;
};

enum class Kind { kMake, kLoad };

void DefineWindowOptions(Kind kind, CLI::App& app, WindowRequest& r) {
    AddSymbolOutputOptions(app, r.out);
    app.add_flag("--payload-hex", r.payloadHex, "print the payload bytes in hex on stdout");
    AddVerboseFlag(app, r.verbose);
    if (kind == Kind::kLoad) {
        app.add_option("FILE", r.file, "the information file (.sig, at most 1 MiB); - is stdin")
            ->required();
        return;
    }
    AddPageOptions(app, r.dialect, r.tab);
    auto path = [](const std::string& v) -> std::optional<std::string> {
        if (v.empty()) return std::nullopt;
        return v;
    };
    AddParsed(app, "--save-sig", r.saveSig, path, "a file name",
              "also write what was typed as an information file")
        ->type_name("OUT.sig");
    app.add_option("FIELDS", r.fields,
                   "KEY=VALUE, typed into the page's field KEY (N, M, TEL, ...) in the order "
                   "given; VALUE is UTF-8")
        ->check([](const std::string& v) {
            return v.find('=') == std::string::npos ? "fields are given as KEY=VALUE: " + v
                                                    : std::string();
        });
}

// Types the fields into the page of the selected tab, each as one keystroke would.
int TypeFields(MainWindow& window, const WindowRequest& r) {
    const DialectDef& dialect = window.checkedDialect();
    if (int rc = CheckTab(dialect, r.tab)) return rc;
    window.ClickTab(r.tab);
    const Page& page = *window.currentPage();
    for (std::string_view field : r.fields) {
        const size_t eq = field.find('=');
        const std::string_view key = field.substr(0, eq);
        const FieldDef* def = FindFieldByKey(page.def(), key);
        if (!def) return Fail(kExitUsage, "the page has no field " + std::string(key));
        if (!page.FieldEnabled(def->id))
            return Fail(kExitUsage,
                        "the field " + std::string(key) + " is disabled in this dialect");
        std::optional<std::string> text = Utf8ToGbk(field.substr(eq + 1));
        if (!text)
            return Fail(kExitUsage, "the value of " + std::string(key) +
                                        " holds a character GBK cannot represent");
        window.EditField(page.id(), def->id, *text);
    }
    return kExitOk;
}

void PrintHex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
}

// A black-on-white bitmap is the window's own export; every other image is drawn from the
// window's matrix.
int EmitImage(MainWindow& window, const SymbolOutputOptions& out) {
    const bool windowBitmap =
        *out.format == render::Format::kBmp && !out.dark && !out.light && !ImageToStdout(out);
    if (!windowBitmap)
        return WriteImage(render::Modules(window.matrix().data(), window.matrixWidth()), out);
    // Refused here in the command's own terms; the window would say it in Chinese.
    if (!BitmapSizeAllowed(window.matrixWidth(), out.cellPitch.value_or(4),
                           out.quietZone.value_or(4)))
        return FailTooLarge(render::Format::kBmp);
    return window.ExportBitmap(*out.output) == 0 ? kExitOk : kExitRefused;
}

// Everything the request asks for, from the window's final state.
int Emit(MainWindow& window, HeadlessUi& ui, const WindowRequest& r) {
    ui.muted = false;
    if (r.payloadHex) PrintHex(window.payload());
    int generated = 0;
    {
        MainWindow::ActionScope action(window);
        generated = window.Generate();  // shows the version message when the payload is refused
    }
    if (r.verbose) PrintReport(window.EncodingReportLines());
    if (generated != 0) return kExitRefused;
    const bool wantsSymbol = r.out.matrix || r.out.format;
    if (wantsSymbol && window.payload().empty())
        return Fail(kExitRefused, "the payload is empty: nothing to encode");
    if (r.out.matrix) PrintMatrix(window.matrix().data(), window.matrixWidth());
    if (r.out.format) {
        if (int rc = EmitImage(window, r.out)) return rc;
    }
    if (r.saveSig) {
        if (!window.HasInformationToSave())
            return Fail(kExitRefused, std::string(kMsgNothingToSave));
        if (window.WriteInformationFile(*r.saveSig) != 0) return kExitRefused;
    }
    return kExitOk;
}

// The information file's bytes go to the window as read here: standard input is no regular file.
int LoadInformation(MainWindow& window, const std::string& file) {
    int loaded = -1;
    if (file == kStandardStream) {
        std::string bytes;
        if (int rc = ReadInput(file, bytes)) return rc;
        loaded = window.ReadInformationBytes(bytes);
    } else {
        loaded = window.ReadInformationFile(file);
    }
    if (loaded == 0) return kExitOk;
    std::fprintf(stderr, "%s\n", std::string(kMsgLoadError).c_str());
    return kExitRefused;
}

int RunWindowCommand(Kind kind, WindowRequest& r) {
    if (int rc = CheckSymbolOutputOptions(r.out, /*outputRequired=*/false)) return rc;
    if (r.out.output == kStandardStream && r.payloadHex)
        return Fail(kExitUsage, "--payload-hex and -o - cannot share standard output");

    HeadlessUi ui;
    ui.muted = true;        // a keystroke on the way may not fit; only the final state speaks
    MainWindow window(ui);  // no settings file: version and level come from the options
    window.Initialise();
    window.OnShown();
    window.SetCodeVersion(r.out.version);
    window.SetECCLevel(r.out.eccSetting);
    window.SetCellPitch(r.out.cellPitch.value_or(4));
    window.SetQuietZone(r.out.quietZone.value_or(4));
    window.SetChineseMode(r.out.chineseMode);

    if (kind == Kind::kMake) {
        window.OnDialectChosen(DialectByCode(r.dialect)->radioId);
        if (int rc = TypeFields(window, r)) return rc;
    } else if (int rc = LoadInformation(window, r.file)) {
        return rc;
    }
    return Emit(window, ui, r);
}

Runner DefineWindowCommand(Kind kind, CLI::App& command) {
    auto request = std::make_shared<WindowRequest>();
    DefineWindowOptions(kind, command, *request);
    return [kind, request] { return RunWindowCommand(kind, *request); };
}

}  // namespace

Runner DefineMake(CLI::App& command) {
    return DefineWindowCommand(Kind::kMake, command);
}
Runner DefineLoad(CLI::App& command) {
    return DefineWindowCommand(Kind::kLoad, command);
}

}  // namespace tirrel::cli
