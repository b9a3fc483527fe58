// tirrel-cli make and load: a headless main window as after start-up, driven as a user would
// drive it (choose a dialect, click a tab, type into fields; or load an information file),
// then its payload, symbol, image or information file written out.
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/messages.h"
#include "cli/commands.h"
#include "cli/headless_ui.h"
#include "cli/options.h"
#include "cli/symbol_output.h"
#include "platform/gbk.h"
#include "render/bitmap_writer.h"

namespace tirrel::cli {
namespace {

struct WindowRequest {
    SymbolOutputOptions out;
    bool payloadHex = false;
    std::optional<std::string> saveSig;
    // make
    int dialect = 0;
    std::optional<int> tab;
    std::vector<std::string_view> fields;  // KEY=VALUE, in order
    // load
    std::optional<std::string> file;
};

enum class Kind { kMake, kLoad };

int ParseWindowArgs(Kind kind, std::span<const std::string_view> args, WindowRequest& r) {
    ArgCursor cursor(args);
    while (!cursor.done()) {
        const std::string_view arg = cursor.next();
        int taken = TakeSymbolOutputOption(arg, cursor, r.out);
        if (taken == kOptionTaken) continue;
        if (taken != kOptionNotMine) return taken;
        if (arg == "--payload-hex") {
            r.payloadHex = true;
        } else if (kind == Kind::kMake && (arg == "--dialect" || arg == "--tab")) {
            const std::optional<std::string_view> v = cursor.value();
            int number = 0;
            if (!v || !ParseInt(*v, number))
                return Fail(kExitUsage, std::string(arg) + " needs a whole number");
            if (arg == "--dialect") {
                if (!DialectByCode(number))
                    return Fail(kExitUsage, "--dialect takes 100, 101 or 102");
                r.dialect = number;
            } else {
                r.tab = number;
            }
        } else if (kind == Kind::kMake && arg == "--save-sig") {
            const std::optional<std::string_view> v = cursor.value();
            if (!v || v->empty()) return Fail(kExitUsage, "--save-sig needs a file name");
            r.saveSig = std::string(*v);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Fail(kExitUsage, "unknown option " + std::string(arg));
        } else if (kind == Kind::kMake) {
            if (arg.find('=') == std::string_view::npos)
                return Fail(kExitUsage, "fields are given as KEY=VALUE: " + std::string(arg));
            r.fields.push_back(arg);
        } else if (!r.file) {
            r.file = std::string(arg);
        } else {
            return Fail(kExitUsage, "give exactly one information file");
        }
    }
    if (kind == Kind::kMake && (r.dialect == 0 || !r.tab))
        return Fail(kExitUsage, "make needs --dialect and --tab");
    if (kind == Kind::kLoad && !r.file) return Fail(kExitUsage, "load needs an information file");
    return CheckSymbolOutputOptions(r.out, /*outputRequired=*/false);
}

// Types the fields into the page of the selected tab, each as one keystroke would.
int TypeFields(MainWindow& window, const WindowRequest& r) {
    const DialectDef& dialect = window.checkedDialect();
    if (*r.tab < 0 || *r.tab >= static_cast<int>(dialect.tabs.size()))
        return Fail(kExitUsage, "--tab must be 0.." + std::to_string(dialect.tabs.size() - 1) +
                                    " for dialect " + std::to_string(r.dialect));
    window.ClickTab(*r.tab);
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
    const bool windowBitmap = *out.format == render::Format::kBmp && !out.dark && !out.light;
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

int RunWindowCommand(Kind kind, std::span<const std::string_view> args) {
    WindowRequest r;
    if (int rc = ParseWindowArgs(kind, args, r)) return rc;

    HeadlessUi ui;
    ui.muted = true;        // a keystroke on the way may not fit; only the final state speaks
    MainWindow window(ui);  // no settings file: version and level come from the options
    window.Initialise();
    window.OnShown();
    window.SetCodeVersion(r.out.version);
    window.SetECCLevel(r.out.eccSetting);
    window.SetCellPitch(r.out.cellPitch.value_or(4));
    window.SetQuietZone(r.out.quietZone.value_or(4));

    if (kind == Kind::kMake) {
        window.OnDialectChosen(DialectByCode(r.dialect)->radioId);
        if (int rc = TypeFields(window, r)) return rc;
    } else if (window.ReadInformationFile(*r.file) != 0) {
        std::fprintf(stderr, "%s\n", std::string(kMsgLoadError).c_str());
        return kExitRefused;
    }
    return Emit(window, ui, r);
}

}  // namespace

int RunMake(std::span<const std::string_view> args) {
    return RunWindowCommand(Kind::kMake, args);
}
int RunLoad(std::span<const std::string_view> args) {
    return RunWindowCommand(Kind::kLoad, args);
}

}  // namespace tirrel::cli
